#include "framework/CPrintPreviewDlg.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

CPrintPreviewDlg::CPrintPreviewDlg(QPrinter* printer, QWidget* parent)
    : QDialog(parent), m_preview(new QPrintPreviewWidget(printer, this)),
      m_pageLabel(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->setZoomMode(QPrintPreviewWidget::FitInView);

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->addAction(QStringLiteral("Imprimer..."), this, [this] { done(kPrint); });
    toolbar->addSeparator();
    toolbar->addAction(QStringLiteral("Page précédente"), this, [this] { PreviousPage(); });
    toolbar->addAction(QStringLiteral("Page suivante"), this, [this] { NextPage(); });
    toolbar->addSeparator();
    toolbar->addAction(QStringLiteral("Zoom avant"), m_preview, [this] { m_preview->zoomIn(); });
    toolbar->addAction(QStringLiteral("Zoom arrière"), m_preview, [this] { m_preview->zoomOut(); });
    toolbar->addAction(QStringLiteral("Page entière"), m_preview,
                       [this] { m_preview->setZoomMode(QPrintPreviewWidget::FitInView); });
    toolbar->addSeparator();
    toolbar->addAction(QStringLiteral("Fermer"), this, [this] { reject(); })
        ->setToolTip(QStringLiteral("Fermer l'aperçu avant impression"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_preview, 1);
    m_pageLabel->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_pageLabel);
    resize(800, 900);

    // Page Down and Page Up turn pages wherever the focus is (the preview would
    // otherwise scroll); Escape closes, as in every dialog.
    m_preview->installEventFilter(this);
    for (QWidget* child : m_preview->findChildren<QWidget*>())
        child->installEventFilter(this);

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            &CPrintPreviewDlg::paintRequested);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this,
            &CPrintPreviewDlg::UpdatePageText);
}

bool CPrintPreviewDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            key == Qt::Key_PageDown ? NextPage() : PreviousPage();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPrintPreviewDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown)
        NextPage();
    else if (event->key() == Qt::Key_PageUp)
        PreviousPage();
    else
        QDialog::keyPressEvent(event);
}

void CPrintPreviewDlg::SetTotalPages(std::int64_t pages) {
    m_nTotalPages = pages;
    UpdatePageText();
}

QString CPrintPreviewDlg::PageText() const {
    return m_pageLabel->text();
}

void CPrintPreviewDlg::NextPage() {
    m_preview->setCurrentPage(m_preview->currentPage() + 1);
    UpdatePageText();
}

void CPrintPreviewDlg::PreviousPage() {
    m_preview->setCurrentPage(m_preview->currentPage() - 1);
    UpdatePageText();
}

void CPrintPreviewDlg::UpdatePageText() {
    const int shown = m_preview->pageCount();
    QString text = QStringLiteral("Page %1 / %2").arg(m_preview->currentPage()).arg(shown);
    if (m_nTotalPages > shown)
        text += QStringLiteral("  (aperçu limité aux %1 premières pages sur %2)")
                    .arg(shown)
                    .arg(m_nTotalPages);
    m_pageLabel->setText(text);
}
