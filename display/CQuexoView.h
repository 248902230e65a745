// The view of a document. For now it only names the file and its length; the
// hex grid window takes its place inside the view.
#pragma once

#include "framework/CView.h"

class CQuexoDoc;
class QLabel;

class CQuexoView : public CView {
    Q_OBJECT
public:
    explicit CQuexoView(QWidget* parent = nullptr);

    CQuexoDoc* GetDocument() const;
    void OnUpdate(CView* sender, long hint, QObject* hintObject) override;

    // The process-wide display settings and the open-text-file mode: read once
    // at start-up, written once at exit.
    static void LoadDisplaySettings();
    static void SaveDisplaySettings();

private:
    QLabel* m_pLabel;
};
