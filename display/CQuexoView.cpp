#include "display/CQuexoView.h"

#include "document/CQuexoDoc.h"
#include "storage/CPieceFile64.h"

#include <QLabel>
#include <QVBoxLayout>

CQuexoView::CQuexoView(QWidget* parent) : CView(parent), m_pLabel(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pLabel);
    m_pLabel->setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
}

CQuexoDoc* CQuexoView::GetDocument() const {
    return qobject_cast<CQuexoDoc*>(CView::GetDocument());
}

void CQuexoView::OnUpdate(CView* /*sender*/, long /*hint*/, QObject* /*hintObject*/) {
    const CQuexoDoc* document = GetDocument();
    if (!document || !document->m_pFile) {
        m_pLabel->clear();
        return;
    }
    QString text = QStringLiteral("%1\n%2 octets")
                       .arg(document->GetTitle())
                       .arg(document->m_pFile->GetLength());
    if (document->m_bReadOnly)
        text += QStringLiteral("\n(lecture seule)");
    m_pLabel->setText(text);
}

void CQuexoView::LoadDisplaySettings() {}

void CQuexoView::SaveDisplaySettings() {}
