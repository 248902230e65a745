#include "display/CQuexoView.h"

#include "display/CursorDataFormat.h"
#include "display/DisplayGlobals.h"
#include "display/FontConversion.h"
#include "display/ProfileSection.h"
#include "display/StatusTexts.h"
#include "display/ViewCommandIds.h"
#include "document/CQuexoDoc.h"
#include "document/CTextHandOff.h"
#include "framework/CCmdUI.h"
#include "framework/CWinApp.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "storage/CPieceFile64.h"

#include <QResizeEvent>
#include <QTimer>

#include <exception>

namespace {

// Shared by every view: the five cursor data texts are computed once per
// (view, caret, byte order, content) and served to the other fields and to
// every idle refresh from here.
CCursorDataCache g_cursorData;

} // namespace

CQuexoView::CQuexoView(QWidget* parent) : CView(parent), m_grid(this) {
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(&m_grid);
    LayOutChildren();
    m_grid.SetPromptHook([](const QString& text) { AfxMessageBox(text, MB_OK); });
    // Typing goes through the document like every other edit; a refused write
    // throws back into the grid, which reports it. The document decides what
    // makes a typing run (one undo step): the view tells it each keystroke,
    // where the keystroke left the caret, and every other caret move.
    m_grid.SetWriteHook(
        [this](std::int64_t offset, const unsigned char* bytes, std::int64_t count) {
            if (CQuexoDoc* document = GetDocument())
                document->TypeBytes(offset, bytes, count, GetPlace(), this);
        });
    connect(&m_grid, &CHexGridWnd::edited, this, [this] {
        if (CQuexoDoc* document = GetDocument())
            document->TypingKeystrokeDone(this, GetPlace());
    });
    connect(&m_grid, &CHexGridWnd::selectionChanged, this, [this] {
        if (CQuexoDoc* document = GetDocument())
            document->TypistCaretMoved(this, GetPlace());
        if (CWinApp* app = AfxGetApp())
            app->RequestIdle();
    });

    // The editing commands are added by the layer that creates the view
    // (IHexView::AddCommand); the view's own are the display and printing ones.
    OnCommand(ID_VIEW_OPTIONS, [this] { OnViewOptions(); });
    OnCommand(ID_VIEW_FONT, [this] { OnViewFont(); });
    RegisterPrintCommands();

    OnUpdateCommand(ID_INDICATOR_OFFSET, [this](CCmdUI* ui) { OnUpdateOffsetPane(ui); });
    OnUpdateCommand(ID_INDICATOR_SELECTION, [this](CCmdUI* ui) { OnUpdateSelectionPane(ui); });
    OnUpdateCommandRange(IDC_CURSOR_BYTE, IDC_CURSOR_DOUBLE,
                         [this](CCmdUI* ui) { OnUpdateCursorData(ui); });
}

CQuexoView::~CQuexoView() {
    // The panel goes while the view is whole: its handlers may still reach it.
    delete m_pBottomPanel;
}

CQuexoDoc* CQuexoView::GetDocument() const {
    return qobject_cast<CQuexoDoc*>(CView::GetDocument());
}

void CQuexoView::OnUpdate(CView* /*sender*/, long hint, QObject* hintObject) {
    const long parts = hint == kHintAll ? ~0L : hint;
    bool repaintAll = parts != kHintContentChanged;
    if (parts & kHintContentChanged) {
        const CQuexoDoc* document = GetDocument();
        CPieceFile64* model = document ? document->GetPieceFile() : nullptr;
        const auto* changes = dynamic_cast<const CContentChangeHint*>(hintObject);
        if (changes && model && model == m_grid.GetFile()) {
            // An edit, undo or redo: caret and selection follow the changes and
            // only the rows they touched are painted again.
            m_grid.SetReadOnly(document->m_bReadOnly);
            m_grid.ApplyChanges(changes->Changes());
        } else {
            // Another model (open, new, reload, save as), or none for a moment
            // while the document replaces it: never keep a pointer to a model
            // the document may free.
            if (model)
                m_grid.SetFile(model, document->m_bReadOnly);
            else
                m_grid.ReleaseFile();
            // The cached texts are keyed on the revision, which another
            // document under a reused view may share.
            g_cursorData.Invalidate();
            repaintAll = true;
        }
    }
    if (parts & kHintSettingsChanged) {
        m_grid.SetDisplayFont(FontFromLogFont(g_displayFont));
        m_grid.SetHexAddress(g_bHexAddress != 0);
        m_grid.SetShowUpper(g_bUpperChars != 0);
        m_grid.SetFixedColumns(g_nFixedColumns);
    }
    if (repaintAll)
        m_grid.viewport()->update();
    NotifyUpdateListeners(parts);
}

void CQuexoView::OnDraw(QPainter* /*painter*/) {
    // The grid covers the whole view and draws everything.
}

void CQuexoView::resizeEvent(QResizeEvent* event) {
    CView::resizeEvent(event);
    LayOutChildren();
}

void CQuexoView::OnUpdateOffsetPane(CCmdUI* ui) {
    ui->Enable(true);
    ui->SetText(QString::fromStdString(FormatOffsetStatus(m_grid.GetCaret())));
}

void CQuexoView::OnUpdateSelectionPane(CCmdUI* ui) {
    ui->Enable(true);
    ui->SetText(QString::fromStdString(FormatSelectionStatus(m_grid.GetSelection().length)));
}

void CQuexoView::OnUpdateCursorData(CCmdUI* ui) {
    // The request carries the byte order in its index; enabling it tells the
    // window that a view answered.
    ui->Enable(true);
    const std::int64_t caret = m_grid.GetCaret();
    const int byteOrder = ui->m_nIndex;
    const CQuexoDoc* document = GetDocument();
    const std::uint64_t revision = document ? document->GetRevision() : 0;
    if (g_cursorData.NeedsCompute(this, caret, byteOrder, revision)) {
        std::uint8_t bytes[kCursorDataBytes] = {};
        std::int64_t count = 0;
        try {
            if (const CPieceFile64* file = document ? document->GetPieceFile() : nullptr)
                count = file->ReadAt(caret, bytes, kCursorDataBytes);
        } catch (...) {
            // Once per new key; the fields keep their texts. Reported after the
            // idle pass, never from inside it.
            QTimer::singleShot(0, [error = std::current_exception()] {
                try {
                    ReportException(error);
                } catch (...) {
                }
            });
            return;
        }
        g_cursorData.Store(FormatCursorData(bytes, static_cast<std::size_t>(count), byteOrder));
    }
    ui->SetText(QString::fromStdString(g_cursorData.Text(static_cast<int>(ui->m_nID))));
}

void CQuexoView::LoadDisplaySettings() {
    CTextHandOff& handOff = CTextHandOff::Current();
    DisplaySettings settings = CurrentDisplaySettings(handOff.m_nOpenTextMode);
    CProfileSection section;
    LoadDisplaySettingsFrom(section, settings);
    ApplyDisplaySettings(settings);
    handOff.m_nOpenTextMode = settings.openTextMode;
}

void CQuexoView::SaveDisplaySettings() {
    CProfileSection section;
    SaveDisplaySettingsTo(section, CurrentDisplaySettings(CTextHandOff::Current().m_nOpenTextMode));
}
