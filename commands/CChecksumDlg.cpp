#include "commands/CChecksumDlg.h"

#include "display/DisplayGlobals.h"
#include "display/IHexView.h"
#include "document/CQuexoDoc.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {

// Ticked when the dialog first opens; later openings keep the user's choice.
std::vector<bool> g_chosen;

bool DefaultChoice(ChecksumAlgorithm algorithm) {
    return algorithm == ChecksumAlgorithm::Crc32 || algorithm == ChecksumAlgorithm::Md5 ||
           algorithm == ChecksumAlgorithm::Sha1 || algorithm == ChecksumAlgorithm::Sha256;
}

QString Address(std::int64_t offset, bool hex) {
    return hex ? QStringLiteral("0x") + QString::number(offset, 16).toUpper()
               : QString::number(offset);
}

} // namespace

QString CChecksumDlg::RangeText(std::int64_t start, std::int64_t length, bool wholeFile, bool hex) {
    const QString what = wholeFile ? QStringLiteral("Fichier entier") : QStringLiteral("Sélection");
    const QString count = length > 1 ? QStringLiteral("%1 octets").arg(length)
                                     : QStringLiteral("%1 octet").arg(length);
    if (length == 0)
        return QStringLiteral("%1, %2").arg(what, count);
    return QStringLiteral("%1, %2 de %3 à %4")
        .arg(what, count, Address(start, hex), Address(start + length - 1, hex));
}

CChecksumDlg::CChecksumDlg(const CPieceFile64& file, std::int64_t start, std::int64_t length,
                           bool wholeFile, QWidget* parent)
    : CDialog(parent), m_file(file), m_nStart(start), m_nLength(length),
      m_pRange(new QLabel(RangeText(start, length, wholeFile, g_bHexAddress != 0), this)),
      m_pCompute(new QPushButton(QStringLiteral("&Calculer"), this)),
      m_pCopy(new QPushButton(QStringLiteral("Co&pier"), this)),
      m_pResults(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Sommes de contrôle"));
    m_pRange->setObjectName(QStringLiteral("range"));
    m_pRange->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const auto algorithms = ChecksumAlgorithms();
    if (g_chosen.size() != algorithms.size()) {
        g_chosen.clear();
        for (const ChecksumInfo& info : algorithms)
            g_chosen.push_back(DefaultChoice(info.algorithm));
    }
    auto* choices = new QGroupBox(QStringLiteral("Algorithmes"), this);
    auto* grid = new QGridLayout(choices);
    for (size_t i = 0; i < algorithms.size(); ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(algorithms[i].label), choices);
        box->setObjectName(QStringLiteral("check-%1").arg(algorithms[i].commandName));
        box->setChecked(g_chosen[i]);
        connect(box, &QCheckBox::toggled, this, [this] { UpdateButtons(); });
        grid->addWidget(box, int(i) / 4, int(i) % 4);
        m_boxes.push_back(box);
    }

    m_pResults->setObjectName(QStringLiteral("results"));
    m_pResults->setReadOnly(true);
    m_pResults->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_pResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(m_pResults->font());
    // A SHA-512 line fits without scrolling.
    m_pResults->setMinimumSize(metrics.horizontalAdvance(QString(140, QLatin1Char('0'))),
                               metrics.lineSpacing() * 8);

    auto* buttons = new QDialogButtonBox(this);
    m_pCompute->setDefault(true);
    buttons->addButton(m_pCompute, QDialogButtonBox::ActionRole);
    buttons->addButton(m_pCopy, QDialogButtonBox::ActionRole);
    QPushButton* close =
        buttons->addButton(QStringLiteral("&Fermer"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(m_pCompute, &QPushButton::clicked, this, [this] { Compute(); });
    connect(m_pCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(m_pResults->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pRange);
    layout->addWidget(choices);
    layout->addWidget(m_pResults);
    layout->addWidget(buttons);
    UpdateButtons();
}

CChecksumDlg::~CChecksumDlg() = default;

QCheckBox* CChecksumDlg::AlgorithmBox(ChecksumAlgorithm algorithm) const {
    const auto algorithms = ChecksumAlgorithms();
    for (size_t i = 0; i < algorithms.size(); ++i)
        if (algorithms[i].algorithm == algorithm)
            return m_boxes[i];
    return nullptr;
}

std::vector<ChecksumAlgorithm> CChecksumDlg::Chosen() const {
    std::vector<ChecksumAlgorithm> chosen;
    const auto algorithms = ChecksumAlgorithms();
    for (size_t i = 0; i < algorithms.size(); ++i)
        if (m_boxes[i]->isChecked())
            chosen.push_back(algorithms[i].algorithm);
    return chosen;
}

void CChecksumDlg::UpdateButtons() {
    for (size_t i = 0; i < m_boxes.size(); ++i)
        g_chosen[i] = m_boxes[i]->isChecked();
    m_pCompute->setEnabled(!Chosen().empty());
    m_pCopy->setEnabled(m_bHaveResults);
}

void CChecksumDlg::Compute() {
    const std::vector<ChecksumAlgorithm> chosen = Chosen();
    if (chosen.empty())
        return;
    m_pResults->clear();
    m_bHaveResults = false;
    std::optional<std::vector<std::string>> results;
    const bool ok = RunGuarded([&] {
        CWaitCursor wait;
        CProgress progress(QStringLiteral("Calcul des sommes de contrôle..."), this);
        results = ComputeChecksums(
            m_file, m_nStart, m_nLength, chosen,
            [&](std::int64_t done, std::int64_t total) { return progress.Step(done, total); });
    });
    if (ok && !results) {
        m_pResults->setPlainText(QStringLiteral("Calcul annulé."));
    } else if (ok) {
        int width = 0;
        for (ChecksumAlgorithm algorithm : chosen)
            width = std::max(width, int(std::strlen(ChecksumInfoOf(algorithm).label)));
        QStringList lines;
        for (size_t i = 0; i < chosen.size(); ++i)
            lines << QStringLiteral("%1  %2")
                         .arg(QString::fromUtf8(ChecksumInfoOf(chosen[i]).label), -width)
                         .arg(QString::fromStdString((*results)[i]));
        m_pResults->setPlainText(lines.join(QLatin1Char('\n')));
        m_bHaveResults = true;
    }
    UpdateButtons();
}

namespace ChecksumCommands {

void OnEditChecksums(CQuexoDoc& doc, IHexView& view) {
    const CPieceFile64* file = doc.GetPieceFile();
    if (!file)
        return;
    const CByteRange selection = view.GetSelection();
    std::int64_t start = selection.start;
    std::int64_t length = selection.length;
    const bool wholeFile = length == 0;
    if (wholeFile) {
        start = 0;
        length = file->GetLength();
    }
    CChecksumDlg dialog(*file, start, length, wholeFile, view.DialogParent());
    dialog.DoModal();
}

} // namespace ChecksumCommands
