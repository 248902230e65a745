#include "commands/EditCommands.h"

#include "commands/BinaryClipboard.h"
#include "commands/CGoToDlg.h"
#include "commands/CInsertDlg.h"
#include "commands/ClipboardBlock.h"
#include "commands/GoToLogic.h"
#include "commands/InsertDeleteTexts.h"
#include "display/CHexGridWnd.h"
#include "document/CQuexoDoc.h"
#include "framework/CCmdUI.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "storage/CPieceFile64.h"

#include <algorithm>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool HasSelection(const CHexGridWnd& grid) {
    return !grid.GetSelection().IsEmpty();
}

} // namespace

namespace EditCommands {

void OnEditCopy(CHexGridWnd& grid) {
    RunGuarded([&] {
        const std::int64_t length = grid.GetSelection().length;
        if (length == 0)
            return;
        if (!IsCopyAllowed(length)) {
            AfxMessageBox(FromUtf8(CopyTooLargeMessage()), MB_OK);
            return;
        }
        CWaitCursor wait;
        // A read error leaves the clipboard as it was.
        PutBytesOnClipboard(grid.GetSelectedBytes(length));
    });
}

void OnUpdateEditCopy(CHexGridWnd& grid, CCmdUI* ui) {
    ui->Enable(HasSelection(grid));
}

void OnEditPaste(CQuexoDoc& doc, CHexGridWnd& grid) {
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        if (!file)
            return;
        const std::optional<CByteString> data = BytesFromClipboard();
        if (!data)
            return;
        const std::int64_t caret = grid.GetCaret();
        const std::int64_t count =
            PasteCount(static_cast<std::int64_t>(data->size()), file->GetLength(), caret);
        // A refused write (read-only document) is reported and ends the paste
        // here: nothing was written, so neither caret nor document change.
        if (count > 0) {
            CEditStep step(doc, GridPlace(grid));
            doc.OverwriteBytes(caret, data->data(), count);
        }
        grid.SetCaret(caret + count, true);
        grid.SetAnchor(caret + count);
        if (count > 0)
            doc.SetPlaceAfterStep(GridPlace(grid));
    });
}

void OnUpdateEditPaste(CCmdUI* ui) {
    ui->Enable(ClipboardHasPasteData());
}

void OnEditInsert(CQuexoDoc& doc, CHexGridWnd& grid) {
    // Nothing is remembered between uses.
    CInsertDlg dialog;
    dialog.m_nCount = 1;
    dialog.m_nValue = 0;
    if (dialog.DoModal() != IDOK)
        return;
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        if (!file || dialog.m_nCount == 0)
            return;
        CWaitCursor wait;
        // Caret and anchor keep their offsets: the caret is on the first new byte.
        {
            CEditStep step(doc, GridPlace(grid));
            doc.InsertBytes(grid.GetCaret(), dialog.m_nCount, static_cast<int>(dialog.m_nValue));
        }
        doc.SetPlaceAfterStep(GridPlace(grid));
    });
}

void OnEditDelete(CQuexoDoc& doc, CHexGridWnd& grid) {
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        const CByteRange selection = grid.GetSelection();
        if (!file || selection.IsEmpty())
            return;
        if (AfxMessageBox(FromUtf8(FormatDeleteQuestion(selection.start, selection.length)),
                          MB_OKCANCEL) != IDOK)
            return;
        CWaitCursor wait;
        {
            CEditStep step(doc, GridPlace(grid));
            doc.DeleteBytes(selection);
        }
        grid.SetCaret(selection.start, true);
        grid.SetAnchor(selection.start);
        doc.SetPlaceAfterStep(GridPlace(grid));
    });
}

void OnUpdateEditDelete(CHexGridWnd& grid, CCmdUI* ui) {
    ui->Enable(HasSelection(grid));
}

void OnEditGoto(CHexGridWnd& grid) {
    CGoToDlg dialog;
    dialog.m_strOffset = QStringLiteral("0");
    dialog.m_nOrigin = kGoToStart;
    dialog.m_strCaret = FromUtf8(FormatCaretBox(grid.GetCaret()));
    if (dialog.DoModal() != IDOK)
        return;
    RunGuarded([&] {
        const std::optional<std::int64_t> value = ParseOffsetText(dialog.m_strOffset.toStdString());
        if (!value) {
            AfxMessageBox(FromUtf8(GoToBadOffsetMessage()), MB_OK);
            return;
        }
        const std::int64_t length = grid.GetFile() ? grid.GetFile()->GetLength() : grid.GetLength();
        const std::int64_t target = GoToTarget(dialog.m_nOrigin, *value, length, grid.GetCaret());
        grid.SetCaret(target, true);
        grid.SetAnchor(target);
        grid.viewport()->update();
    });
}

void OnEditCut(CQuexoDoc& doc, CHexGridWnd& grid) {
    RunGuarded([&] {
        const CByteRange selection = grid.GetSelection();
        if (!doc.GetPieceFile() || doc.m_bReadOnly || selection.IsEmpty())
            return;
        if (!IsCopyAllowed(selection.length)) {
            AfxMessageBox(FromUtf8(CopyTooLargeMessage()), MB_OK);
            return;
        }
        CWaitCursor wait;
        // A read error leaves the clipboard and the content as they were.
        PutBytesOnClipboard(grid.GetSelectedBytes(selection.length));
        {
            CEditStep step(doc, GridPlace(grid));
            doc.DeleteBytes(selection);
        }
        grid.SetCaret(selection.start, true);
        grid.SetAnchor(selection.start);
        doc.SetPlaceAfterStep(GridPlace(grid));
    });
}

void OnUpdateEditCut(const CQuexoDoc& doc, const CHexGridWnd& grid, CCmdUI* ui) {
    ui->Enable(doc.GetPieceFile() && !doc.m_bReadOnly && HasSelection(grid));
}

void OnEditUndo(CQuexoDoc& doc, CHexGridWnd& grid) {
    RunGuarded([&] {
        if (const std::optional<CEditPlace> place = doc.Undo(GridPlace(grid)))
            RestorePlace(grid, *place);
    });
}

void OnEditRedo(CQuexoDoc& doc, CHexGridWnd& grid) {
    RunGuarded([&] {
        if (const std::optional<CEditPlace> place = doc.Redo(GridPlace(grid)))
            RestorePlace(grid, *place);
    });
}

CEditPlace GridPlace(const CHexGridWnd& grid) {
    return {grid.GetCaret(), grid.GetAnchor()};
}

void RestorePlace(CHexGridWnd& grid, CEditPlace place) {
    grid.SetCaret(place.caret, true);
    grid.SetAnchor(place.anchor);
    grid.viewport()->update();
}

} // namespace EditCommands
