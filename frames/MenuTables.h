// The menus, the toolbar and the accelerator table as data: which command
// sits where, with its French text. The frame builds its widgets from them.
#pragma once

#include <vector>

struct MenuItem {
    unsigned id; // 0: a separator
    const char* text;
};

struct MenuPopup {
    const char* title;
    std::vector<MenuItem> items;
};

// Commands that appear only in these tables.
inline constexpr unsigned kIdHelpWebPage = 32783;

// The recent-file entry stands for the whole list of four.
inline constexpr unsigned kRecentFileEntry = 57616;
inline constexpr unsigned kRecentFileCount = 4;

// Shown while no document window is open: Fichier, Affichage, Aide.
const std::vector<MenuPopup>& NoDocumentMenu();
// Shown while a document window is open: Fichier, Edition, Affichage, Fenêtre, Aide.
const std::vector<MenuPopup>& DocumentMenu();

struct Accelerator {
    const char* key; // Qt's portable key text, e.g. "Ctrl+Ins"
    unsigned id;
};

// The main accelerator table, active with or without documents.
const std::vector<Accelerator>& MainAccelerators();

// Toolbar buttons from left to right; 0 is a gap.
const std::vector<unsigned>& ToolBarButtons();
