#include "commands/EditCommands.h"

#include "commands/BinaryClipboard.h"
#include "commands/CGoToDlg.h"
#include "commands/CInsertDlg.h"
#include "commands/ClipboardBlock.h"
#include "commands/GoToLogic.h"
#include "commands/InsertDeleteTexts.h"
#include "display/IHexView.h"
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

bool HasSelection(const IHexView& view) {
    return !view.GetSelection().IsEmpty();
}

void RestorePlace(IHexView& view, CEditPlace place) {
    view.SetPlace(place);
    view.Repaint();
}

// Puts the caret and the anchor at `offset`.
void CollapseAt(IHexView& view, std::int64_t offset) {
    view.SetPlace({offset, offset});
}

} // namespace

namespace EditCommands {

void OnEditCopy(IHexView& view) {
    RunGuarded([&] {
        const std::int64_t length = view.GetSelection().length;
        if (length == 0)
            return;
        if (!IsCopyAllowed(length)) {
            AfxMessageBox(FromUtf8(CopyTooLargeMessage()), MB_OK);
            return;
        }
        CWaitCursor wait;
        // A read error leaves the clipboard as it was.
        PutBytesOnClipboard(SelectedBytes(view, length));
    });
}

void OnUpdateEditCopy(IHexView& view, CCmdUI* ui) {
    ui->Enable(HasSelection(view));
}

void OnEditPaste(CQuexoDoc& doc, IHexView& view) {
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        if (!file)
            return;
        const std::optional<CByteString> data = BytesFromClipboard();
        if (!data)
            return;
        const std::int64_t caret = view.GetCaret();
        const std::int64_t count =
            PasteCount(static_cast<std::int64_t>(data->size()), file->GetLength(), caret);
        // A refused write (read-only document) is reported and ends the paste
        // here: nothing was written, so neither caret nor document change.
        if (count > 0) {
            CEditStep step(doc, view.GetPlace());
            doc.OverwriteBytes(caret, data->data(), count);
        }
        CollapseAt(view, caret + count);
        if (count > 0)
            doc.SetPlaceAfterStep(view.GetPlace());
    });
}

void OnUpdateEditPaste(CCmdUI* ui) {
    ui->Enable(ClipboardHasPasteData());
}

void OnEditInsert(CQuexoDoc& doc, IHexView& view) {
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
            CEditStep step(doc, view.GetPlace());
            doc.InsertBytes(view.GetCaret(), dialog.m_nCount, static_cast<int>(dialog.m_nValue));
        }
        doc.SetPlaceAfterStep(view.GetPlace());
    });
}

void OnEditDelete(CQuexoDoc& doc, IHexView& view) {
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        const CByteRange selection = view.GetSelection();
        if (!file || selection.IsEmpty())
            return;
        if (AfxMessageBox(FromUtf8(FormatDeleteQuestion(selection.start, selection.length)),
                          MB_OKCANCEL) != IDOK)
            return;
        CWaitCursor wait;
        {
            CEditStep step(doc, view.GetPlace());
            doc.DeleteBytes(selection);
        }
        CollapseAt(view, selection.start);
        doc.SetPlaceAfterStep(view.GetPlace());
    });
}

void OnUpdateEditDelete(IHexView& view, CCmdUI* ui) {
    ui->Enable(HasSelection(view));
}

void OnEditGoto(IHexView& view) {
    CGoToDlg dialog;
    dialog.m_strOffset = QStringLiteral("0");
    dialog.m_nOrigin = kGoToStart;
    dialog.m_strCaret = FromUtf8(FormatCaretBox(view.GetCaret()));
    if (dialog.DoModal() != IDOK)
        return;
    RunGuarded([&] {
        const std::optional<std::int64_t> value = ParseOffsetText(dialog.m_strOffset.toStdString());
        if (!value) {
            AfxMessageBox(FromUtf8(GoToBadOffsetMessage()), MB_OK);
            return;
        }
        const CQuexoDoc* doc = view.GetDocument();
        const CPieceFile64* file = doc ? doc->GetPieceFile() : nullptr;
        const std::int64_t length = file ? file->GetLength() : 0;
        const std::int64_t target = GoToTarget(dialog.m_nOrigin, *value, length, view.GetCaret());
        CollapseAt(view, target);
        view.Repaint();
    });
}

void OnEditCut(CQuexoDoc& doc, IHexView& view) {
    RunGuarded([&] {
        const CByteRange selection = view.GetSelection();
        if (!doc.GetPieceFile() || doc.m_bReadOnly || selection.IsEmpty())
            return;
        if (!IsCopyAllowed(selection.length)) {
            AfxMessageBox(FromUtf8(CopyTooLargeMessage()), MB_OK);
            return;
        }
        CWaitCursor wait;
        // A read error leaves the clipboard and the content as they were.
        PutBytesOnClipboard(SelectedBytes(view, selection.length));
        {
            CEditStep step(doc, view.GetPlace());
            doc.DeleteBytes(selection);
        }
        CollapseAt(view, selection.start);
        doc.SetPlaceAfterStep(view.GetPlace());
    });
}

void OnUpdateEditCut(const CQuexoDoc& doc, const IHexView& view, CCmdUI* ui) {
    ui->Enable(doc.GetPieceFile() && !doc.m_bReadOnly && HasSelection(view));
}

void OnEditUndo(CQuexoDoc& doc, IHexView& view) {
    RunGuarded([&] {
        if (const std::optional<CEditPlace> place = doc.Undo(view.GetPlace()))
            RestorePlace(view, *place);
    });
}

void OnEditRedo(CQuexoDoc& doc, IHexView& view) {
    RunGuarded([&] {
        if (const std::optional<CEditPlace> place = doc.Redo(view.GetPlace()))
            RestorePlace(view, *place);
    });
}

CByteString SelectedBytes(const IHexView& view, std::int64_t maxLength) {
    const CByteRange selection = view.GetSelection();
    const std::int64_t wanted = std::min(selection.length, maxLength);
    const CQuexoDoc* doc = view.GetDocument();
    const CPieceFile64* file = doc ? doc->GetPieceFile() : nullptr;
    if (wanted <= 0 || !file)
        return CByteString();
    CByteString bytes(static_cast<size_t>(wanted), '\0');
    const std::int64_t got = file->ReadAt(selection.start, bytes.data(), wanted);
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

} // namespace EditCommands
