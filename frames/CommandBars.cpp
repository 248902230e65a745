#include "frames/CommandBars.h"

#include "framework/CWinApp.h"
#include "framework/StdCommandIds.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QToolBar>

#include <map>

// Outside any namespace, as the resource initialiser requires.
static void InitIconResources() {
    Q_INIT_RESOURCE(quexo_icons);
}

namespace {

struct IconSource {
    const char* theme;
    const char* file;
};

const std::map<unsigned, IconSource>& Icons() {
    static const std::map<unsigned, IconSource> icons{
        {57600, {"document-new", "new"}},   {57601, {"document-open", "open"}},
        {57603, {"document-save", "save"}}, {32779, {"accessories-text-editor", "edittext"}},
        {57635, {"edit-cut", "cut"}},       {57634, {"edit-copy", "copy"}},
        {57637, {"edit-paste", "paste"}},   {57643, {"edit-undo", "undo"}},
        {57644, {"edit-redo", "redo"}},     {57636, {"edit-find", "find"}},
        {32781, {nullptr, "cursordata"}},
    };
    return icons;
}

QIcon BundledIcon(const char* file) {
    static const bool loaded = (InitIconResources(), true);
    (void)loaded;
    return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(file)));
}

} // namespace

QIcon CommandIcon(unsigned id) {
    const auto it = Icons().find(id);
    if (it == Icons().end())
        return QIcon();
    const QIcon own = BundledIcon(it->second.file);
    if (!it->second.theme)
        return own;
    return QIcon::fromTheme(QLatin1String(it->second.theme), own);
}

QIcon ApplicationIcon() {
    return BundledIcon("quexo");
}

MenuSet BuildMenuSet(CWinApp& app, const std::vector<MenuPopup>& menu, QWidget* parent) {
    MenuSet set;
    for (const MenuPopup& popup : menu) {
        auto* qmenu = new QMenu(QString::fromUtf8(popup.title), parent);
        for (const MenuItem& item : popup.items) {
            if (item.id == 0) {
                qmenu->addSeparator();
                continue;
            }
            if (item.id == ID_WINDOW_NEW)
                set.windowMenu = qmenu;
            QAction* action = app.GetCommandAction(item.id);
            action->setText(QString::fromUtf8(item.text));
            qmenu->addAction(action);
            if (item.id == kRecentFileEntry)
                for (unsigned slot = 1; slot < kRecentFileCount; ++slot)
                    qmenu->addAction(app.GetCommandAction(kRecentFileEntry + slot));
        }
        set.popups.append(qmenu);
    }
    return set;
}

void ApplyAccelerators(CWinApp& app, QWidget* window) {
    std::map<unsigned, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : MainAccelerators())
        keys[accelerator.id].append(
            QKeySequence(QLatin1String(accelerator.key), QKeySequence::PortableText));
    for (const auto& [id, sequences] : keys) {
        QAction* action = app.GetCommandAction(id);
        action->setShortcuts(sequences);
        window->addAction(action);
    }
}

void FillToolBar(CWinApp& app, QToolBar* toolBar) {
    for (unsigned id : ToolBarButtons()) {
        if (id == 0) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = app.GetCommandAction(id);
        if (action->icon().isNull())
            action->setIcon(CommandIcon(id));
        // Menus stay text with check marks; an icon would hide the check of
        // the cursor data entry.
        action->setIconVisibleInMenu(false);
        toolBar->addAction(action);
    }
}
