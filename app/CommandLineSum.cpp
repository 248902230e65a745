#include "app/CommandLineSum.h"

#include "commands/Checksums.h"
#include "storage/CFileException.h"
#include "storage/CPieceFile64.h"

#include <exception>
#include <new>

namespace {

std::string AlgorithmList() {
    std::string list;
    for (const ChecksumInfo& info : ChecksumAlgorithms()) {
        if (!list.empty())
            list += ", ";
        list += info.commandName;
    }
    return list;
}

// The checksum of the whole file, or a reported error.
bool SumFile(ChecksumAlgorithm algorithm, const std::string& name, std::ostream& out,
             std::ostream& err) {
    try {
        CPieceFile64 file;
        CFileException error;
        // No lock: summing a file another program (or this one) holds open
        // is harmless.
        if (!file.Open(name.c_str(), CFile64::modeRead | CFile64::shareDenyNone, &error)) {
            if (error.m_strFileName.empty())
                error.m_strFileName = name;
            throw error;
        }
        const auto results = ComputeChecksums(file, 0, file.GetLength(), {algorithm});
        out << SumLine(results->front(), name);
        return true;
    } catch (const CFileException& e) {
        CFileException named = e;
        if (named.m_strFileName.empty())
            named.m_strFileName = name;
        err << "quexo : " << named.GetErrorMessage() << '\n';
    } catch (const std::bad_alloc&) {
        err << "quexo : " << name << " : mémoire insuffisante.\n";
    } catch (const std::exception&) {
        err << "quexo : " << name << " : la bibliothèque de chiffrement refuse l'algorithme "
            << ChecksumInfoOf(algorithm).label << ".\n";
    }
    return false;
}

} // namespace

std::string SumLine(const std::string& hex, const std::string& fileName) {
    std::string escaped;
    bool needsEscape = false;
    for (char c : fileName) {
        if (c == '\\') {
            escaped += "\\\\";
            needsEscape = true;
        } else if (c == '\n') {
            escaped += "\\n";
            needsEscape = true;
        } else if (c == '\r') {
            escaped += "\\r";
            needsEscape = true;
        } else {
            escaped += c;
        }
    }
    return (needsEscape ? "\\" : "") + hex + "  " + escaped + '\n';
}

int RunSumCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << "quexo : /sum attend un algorithme et au moins un fichier (" << AlgorithmList()
            << ").\n";
        return kConsoleUsage;
    }
    const std::optional<ChecksumAlgorithm> algorithm = ChecksumByName(arguments[0]);
    if (!algorithm) {
        err << "quexo : algorithme inconnu « " << arguments[0]
            << " » ; au choix : " << AlgorithmList() << ".\n";
        return kConsoleUsage;
    }
    std::vector<std::string> files(arguments.begin() + 1, arguments.end());
    if (!files.empty() && files.front() == "--")
        files.erase(files.begin());
    if (files.empty()) {
        err << "quexo : /sum " << arguments[0] << " attend au moins un fichier.\n";
        return kConsoleUsage;
    }

    int status = kConsoleOk;
    for (const std::string& name : files)
        if (!SumFile(*algorithm, name, out, err))
            status = kConsoleFileError;
    if (!out.flush()) {
        err << "quexo : impossible d'écrire le résultat sur la sortie standard.\n";
        return kConsoleFileError;
    }
    return status;
}
