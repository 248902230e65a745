#include "app/CommandLineConsole.h"

#include "app/CommandLineSum.h"
#include "commands/Checksums.h"
#include "framework/CCommandLineInfoWords.h"

std::string ConsoleUsage() {
    std::string algorithms;
    for (const ChecksumInfo& info : ChecksumAlgorithms())
        algorithms += std::string(algorithms.empty() ? "" : ", ") + info.commandName;
    return "Utilisation : quexo [--] [FICHIER]\n"
           "              quexo /p FICHIER\n"
           "              quexo /pt FICHIER IMPRIMANTE [PILOTE [PORT]]\n"
           "              quexo /sum ALGORITHME FICHIER...\n"
           "              quexo /install | /uninstall | --help | --version\n"
           "Éditeur hexadécimal pour des fichiers de toute taille.\n"
           "\n"
           "  FICHIER       ouvre le fichier dans l'éditeur\n"
           "  /p            imprime FICHIER sur l'imprimante par défaut, puis quitte\n"
           "  /pt           imprime FICHIER sur IMPRIMANTE, puis quitte ; un nom\n"
           "                finissant par .pdf écrit un fichier PDF de ce nom\n"
           "  /sum          écrit la somme de contrôle de chaque FICHIER au format de\n"
           "                sha256sum, puis quitte ; ALGORITHME parmi :\n"
           "                " +
           algorithms +
           "\n"
           "  /install      inscrit le programme dans les menus du bureau de\n"
           "                l'utilisateur (fait aussi au premier démarrage)\n"
           "  /uninstall    retire ces inscriptions et l'état de l'utilisateur\n"
           "  --            les mots suivants sont des noms de fichiers, même\n"
           "                s'ils commencent par - ou /\n"
           "  --help        affiche cette aide et quitte\n"
           "  --version     affiche la version et quitte\n"
           "\n"
           "Avec /sum, le code de sortie vaut 0 en cas de succès, 1 si un fichier n'a\n"
           "pu être lu et 2 si la ligne de commande est incorrecte.\n";
}

std::optional<int> RunConsoleCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                     std::ostream& err) {
    if (arguments.empty())
        return std::nullopt;
    const std::string& first = arguments.front();
    int status = kConsoleOk;
    if (first == "--help") {
        out << ConsoleUsage();
    } else if (first == "--version") {
        out << "quexo (Quexo Pro) " << QUEXO_VERSION << '\n';
    } else if (ReadCommandLineWord(first, false) == CommandLineWord::Flag &&
               CommandLineFlagName(first) == "sum") {
        return RunSumCommand({arguments.begin() + 1, arguments.end()}, out, err);
    } else {
        return std::nullopt;
    }
    if (!out.flush()) {
        err << "quexo : impossible d'écrire sur la sortie standard.\n";
        status = kConsoleFileError;
    }
    return status;
}
