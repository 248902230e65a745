#include "commands/ViewCommands.h"

#include "commands/CChecksumDlg.h"
#include "commands/EditCommands.h"
#include "commands/FindAllCommands.h"
#include "commands/FindCommands.h"
#include "display/IHexView.h"
#include "display/ViewCommandIds.h"
#include "document/CQuexoDoc.h"
#include "framework/CCmdUI.h"
#include "framework/StdCommandIds.h"

namespace {

// A command that needs the view's document, and does nothing without one.
template <class Command> IHexView::CommandHandler WithDocument(IHexView& view, Command command) {
    return [&view, command] {
        if (CQuexoDoc* doc = view.GetDocument())
            command(*doc, view);
    };
}

} // namespace

namespace ViewCommands {

void AttachTo(IHexView& view) {
    using namespace EditCommands;
    view.AddCommand(ID_EDIT_COPY, [&view] { OnEditCopy(view); });
    view.AddCommandUpdate(ID_EDIT_COPY, [&view](CCmdUI* ui) { OnUpdateEditCopy(view, ui); });
    view.AddCommand(ID_EDIT_PASTE, WithDocument(view, OnEditPaste));
    view.AddCommandUpdate(ID_EDIT_PASTE, [](CCmdUI* ui) { OnUpdateEditPaste(ui); });
    view.AddCommand(ID_EDIT_DELETE, WithDocument(view, OnEditDelete));
    view.AddCommandUpdate(ID_EDIT_DELETE, [&view](CCmdUI* ui) { OnUpdateEditDelete(view, ui); });
    view.AddCommand(ID_EDIT_INSERT, WithDocument(view, OnEditInsert));
    view.AddCommand(ID_EDIT_GOTO, [&view] { OnEditGoto(view); });
    view.AddCommand(ID_EDIT_CUT, WithDocument(view, OnEditCut));
    view.AddCommandUpdate(ID_EDIT_CUT, [&view](CCmdUI* ui) {
        ui->Enable(false);
        if (const CQuexoDoc* doc = view.GetDocument())
            OnUpdateEditCut(*doc, view, ui);
    });
    view.AddCommand(ID_EDIT_UNDO, WithDocument(view, OnEditUndo));
    view.AddCommandUpdate(ID_EDIT_UNDO, [&view](CCmdUI* ui) {
        const CQuexoDoc* doc = view.GetDocument();
        ui->Enable(doc && doc->CanUndo());
    });
    view.AddCommand(ID_EDIT_REDO, WithDocument(view, OnEditRedo));
    view.AddCommandUpdate(ID_EDIT_REDO, [&view](CCmdUI* ui) {
        const CQuexoDoc* doc = view.GetDocument();
        ui->Enable(doc && doc->CanRedo());
    });

    view.AddCommand(ID_EDIT_FIND, WithDocument(view, [](CQuexoDoc& doc, IHexView& v) {
                        FindCommands::OnEditFind(doc, v, v.FindState());
                    }));
    view.AddCommand(ID_EDIT_FINDNEXT, WithDocument(view, [](CQuexoDoc& doc, IHexView& v) {
                        FindCommands::OnEditFindNext(doc, v, v.FindState());
                    }));
    view.AddCommandUpdate(ID_EDIT_FINDNEXT, [&view](CCmdUI* ui) {
        FindCommands::OnUpdateEditFindNext(view.FindState(), ui);
    });
    view.AddCommand(ID_EDIT_REPLACE, WithDocument(view, [](CQuexoDoc& doc, IHexView& v) {
                        FindCommands::OnEditReplace(doc, v, v.FindState().m_findBytes);
                    }));
    view.AddCommand(ID_EDIT_CHECKSUMS, WithDocument(view, ChecksumCommands::OnEditChecksums));
    FindAllCommands::AttachTo(view);
}

} // namespace ViewCommands
