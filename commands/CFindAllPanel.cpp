#include "commands/CFindAllPanel.h"

#include "commands/CFindAllModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CFindAllPanel::CFindAllPanel(QWidget* parent)
    : QWidget(parent), m_pModel(new CFindAllModel(this)), m_pCount(new QLabel(this)),
      m_pHighlight(new QCheckBox(QStringLiteral("&Surligner"), this)),
      m_pCopy(new QPushButton(QStringLiteral("Copier les offsets"), this)),
      m_pClose(new QPushButton(QStringLiteral("Fermer"), this)), m_pBannerRow(new QWidget(this)),
      m_pBanner(new QLabel(QStringLiteral("Le contenu a été modifié : ces résultats ne sont plus à "
                                          "jour."),
                           m_pBannerRow)),
      m_pSearchAgain(new QPushButton(QStringLiteral("Rechercher de nouveau"), m_pBannerRow)),
      m_pList(new QListView(this)) {
    setObjectName(QStringLiteral("findAllPanel"));
    m_pHighlight->setChecked(true);
    m_pList->setModel(m_pModel);
    // Every row is as high as the first: the list never measures a million rows.
    m_pList->setUniformItemSizes(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pList->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_pCount, 1);
    top->addWidget(m_pHighlight);
    top->addWidget(m_pCopy);
    top->addWidget(m_pClose);
    auto* banner = new QHBoxLayout(m_pBannerRow);
    banner->setContentsMargins(0, 0, 0, 0);
    banner->addWidget(m_pBanner, 1);
    banner->addWidget(m_pSearchAgain);
    m_pBannerRow->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pBannerRow);
    layout->addWidget(m_pList, 1);

    connect(m_pList, &QListView::clicked, this, [this](const QModelIndex& i) { Choose(i.row()); });
    connect(m_pList, &QListView::activated, this,
            [this](const QModelIndex& i) { Choose(i.row()); });
    connect(m_pSearchAgain, &QPushButton::clicked, this, &CFindAllPanel::searchAgainRequested);
    connect(m_pHighlight, &QCheckBox::toggled, this, &CFindAllPanel::highlightChanged);
    connect(m_pCopy, &QPushButton::clicked, this, [this] { CopySelectedOffsets(); });
    connect(m_pClose, &QPushButton::clicked, this, [this] {
        hide();
        emit highlightChanged();
        emit closed();
    });
}

CFindAllPanel::~CFindAllPanel() = default;

void CFindAllPanel::ShowResults(CFindAllResults results, CFindAllFileSource file, bool hexAddress,
                                int charSet) {
    m_pModel->SetResults(std::move(results), std::move(file), hexAddress, charSet);
    m_pCount->setText(CountText());
    SetOutOfDate(false);
    show();
    emit resultsShown();
    emit highlightChanged();
}

const CFindAllResults& CFindAllPanel::Results() const {
    return m_pModel->Results();
}

void CFindAllPanel::SetAddressBase(bool hexAddress) {
    m_pModel->SetAddressBase(hexAddress);
}

void CFindAllPanel::SetOutOfDate(bool outOfDate) {
    m_bOutOfDate = outOfDate;
    m_pBannerRow->setVisible(outOfDate);
}

bool CFindAllPanel::IsHighlighting() const {
    return isVisibleTo(parentWidget()) && m_pHighlight->isChecked();
}

QString CFindAllPanel::CountText() const {
    const CFindAllResults& results = Results();
    const QLocale french(QLocale::French);
    QString text =
        results.m_nCount > 1 ? QStringLiteral("%1 occurrences") : QStringLiteral("%1 occurrence");
    text = text.arg(french.toString(static_cast<qlonglong>(results.m_nCount)));
    if (!results.m_bComplete)
        text += QStringLiteral(" (recherche interrompue : résultats incomplets)");
    if (results.IsTruncated())
        text += QStringLiteral(" ; seules les %1 premières sont listées")
                    .arg(french.toString(static_cast<qulonglong>(CFindAllResults::kMaxListed)));
    return text;
}

QString CFindAllPanel::SelectedOffsetsText() const {
    QModelIndexList rows = m_pList->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& row : rows) {
        text += QString::fromStdString(
            FormatResultOffset(m_pModel->OffsetAt(row.row()), m_pModel->IsHexAddress()));
        text += QLatin1Char('\n');
    }
    return text;
}

void CFindAllPanel::CopySelectedOffsets() {
    const QString text = SelectedOffsetsText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void CFindAllPanel::Choose(int row) {
    const std::int64_t offset = m_pModel->OffsetAt(row);
    if (offset < 0)
        return;
    if (m_bOutOfDate) {
        // The bytes may have moved: the banner says why nothing happens.
        QApplication::beep();
        return;
    }
    emit matchChosen(offset, static_cast<qint64>(Results().m_pattern.size()));
}

bool CFindAllPanel::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+C in the list copies offsets, not the view's bytes: the list takes
    // the key before the main window's accelerator sees it.
    if (watched == m_pList &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                CopySelectedOffsets();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
