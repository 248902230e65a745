#include "frames/MenuTables.h"

namespace {

constexpr MenuItem kSeparator{0, nullptr};

const MenuPopup& HelpPopup() {
    static const MenuPopup popup{
        "&Aide",
        {{kIdHelpWebPage, "Quexo Web &Page"}, kSeparator, {57664, "A &propos de Quexo..."}}};
    return popup;
}

} // namespace

const std::vector<MenuPopup>& NoDocumentMenu() {
    static const std::vector<MenuPopup> menu{
        {"&Fichier",
         {{57600, "&Nouveau...\tCtrl+N"},
          {57601, "&Ouvrir...\tCtrl+O"},
          kSeparator,
          {57606, "Options d'I&mpression"},
          kSeparator,
          {kRecentFileEntry, "Fichier Récent"},
          kSeparator,
          {57665, "&Quitter"}}},
        {"&Affichage", {{59393, "Barre de &Statut"}}},
        HelpPopup(),
    };
    return menu;
}

const std::vector<MenuPopup>& DocumentMenu() {
    static const std::vector<MenuPopup> menu{
        {"&Fichier",
         {{57600, "&Nouveau...\tCtrl+N"},
          {57601, "&Ouvrir...\tCtrl+O"},
          {57602, "&Fermer"},
          {57603, "&Enregistrer...\tCtrl+S"},
          {57604, "Enregistrer &Sous..."},
          {32799, "&Recharger\tF5"},
          kSeparator,
          {32779, "Fermer et Editer comme &Texte...\tCtrl+T"},
          kSeparator,
          {57607, "I&mprimer...\tCtrl+P"},
          {57609, "Aperçu avant impression"},
          {57605, "Options d'I&mpression"},
          kSeparator,
          {kRecentFileEntry, "Fichier Récent"},
          kSeparator,
          {57665, "&Quitter"}}},
        {"&Edition",
         {{57643, "&Annuler\tCtrl+Z"},
          {57644, "&Rétablir\tCtrl+Y"},
          kSeparator,
          {57635, "Co&uper\tCtrl+X"},
          {57634, "&Copier\tCtrl+C"},
          {57637, "&Coller\tCtrl+V"},
          {32775, "&Suprrimer...\tSuppr"},
          {32774, "&Inserer...\tIns"},
          kSeparator,
          {32776, "&Aller à...\tCtrl+G"},
          kSeparator,
          {57636, "&Trouver...\tCtrl+F"},
          {32791, "Rec&hercher tout...\tCtrl+Shift+F"},
          {32777, "Trouver &Suivant\tF3"},
          {57641, "&Remplacer...\tCtrl+H"},
          kSeparator,
          {32790, "S&ommes de contrôle..."}}},
        {"&Affichage",
         {{32781, "Donnée du &Curseur\tCtrl+D"},
          {59392, "&Barre d'outils"},
          {59393, "Barre de &Statut"},
          kSeparator,
          {32772, "&Options..."},
          {32773, "&Police.."}}},
        {"&Fenêtre",
         {{57648, "&Nouvelle fenêtre"},
          {57650, "&Cascade"},
          {57651, "&Titre"},
          {57649, "&Arranger les Icônes"}}},
        HelpPopup(),
    };
    return menu;
}

const std::vector<Accelerator>& MainAccelerators() {
    static const std::vector<Accelerator> table{
        {"Ctrl+C", 57634},
        {"Ctrl+Ins", 57634},
        {"Ctrl+D", 32781},
        {"Ctrl+F", 57636},
        {"Ctrl+G", 32776},
        {"Ctrl+H", 57641},
        {"Ctrl+N", 57600},
        {"Ctrl+O", 57601},
        {"Ctrl+P", 57607},
        {"Ctrl+S", 57603},
        {"Ctrl+T", 32779},
        {"Ctrl+V", 57637},
        {"Shift+Ins", 57637},
        {"Ctrl+X", 57635},
        {"Shift+Del", 57635},
        {"Ctrl+Z", 57643},
        {"Ctrl+Y", 57644},
        {"Ctrl+Shift+Z", 57644},
        {"Alt+Backspace", 57643},
        {"Del", 32775},
        {"Ins", 32774},
        {"F3", 32777},
        {"F5", 32799},
        {"F6", 57680},
        {"Shift+F6", 57681},
        {"Ctrl+Shift+F", 32791},
    };
    return table;
}

const std::vector<unsigned>& ToolBarButtons() {
    static const std::vector<unsigned> buttons{
        57600, 57601, 57603, 32779, 0, 57635, 57634, 57637, 0, 57643, 57644, 0, 57636, 0, 32781};
    return buttons;
}
