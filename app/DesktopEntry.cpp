#include "app/DesktopEntry.h"

#include <sstream>

namespace desktopentry {

namespace {

// The Exec value before string escaping: quoted arguments joined by blanks.
std::string ExecLine(std::initializer_list<std::string> quotedArguments) {
    std::string line;
    for (const std::string& argument : quotedArguments) {
        if (!line.empty())
            line += ' ';
        line += argument;
    }
    return EscapeValue(line);
}

std::string Header(const std::string& name, const std::string& comment) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" +
           EscapeValue(name) + "\nComment=" + EscapeValue(comment) + "\n";
}

// No MimeType and no NoDisplay: see OpenWithEntry.
std::string Footer(const std::string& programPath, const std::string& categories) {
    return "Icon=" + std::string(kIconName) + "\nCategories=" + categories + "\nTerminal=false\n" +
           std::string(kProgramKey) + "=" + EscapeValue(programPath) + "\n";
}

} // namespace

std::string EscapeValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            // Readers strip blanks after '=', so only a leading one needs escaping.
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += text[i];
        }
    }
    return out;
}

std::string QuoteExecArgument(const std::string& argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    return out + "\"";
}

std::string OpenWithEntry(const std::string& programPath) {
    // Offered in every file's "open with" list as one of the installed
    // applications. Declaring any type (MimeType, or an added association in
    // mimeapps.list) would make the desktop pick us as that type's default
    // whenever the user set none, ahead of the system's own applications, since
    // the user's folder is searched first. "--" keeps a file named like a flag
    // a file.
    return Header("Quexo Pro", "Affiche et modifie les octets de tout fichier") +
           "GenericName=" + EscapeValue("Éditeur hexadécimal") +
           "\nExec=" + ExecLine({QuoteExecArgument(programPath), "--", "%f"}) + "\n" +
           Footer(programPath, "Utility;");
}

std::string TerminalHereEntry(const std::string& programPath) {
    // Desktop entries cannot set a per-launch working folder, so a shell changes
    // into the folder and then becomes the desktop's terminal emulator. Given a
    // file it starts in the file's folder; from the menu, in the home folder.
    // Like the open-with entry it declares no type, so it never becomes the
    // handler of folders.
    const std::string script = "d=${1:-$HOME}; [ -d \"$d\" ] || d=$(dirname -- \"$d\"); "
                               "cd -- \"$d\" && exec x-terminal-emulator";
    return Header("Terminal ici", "Ouvre un terminal dans ce dossier") +
           "Exec=" + ExecLine({"sh", "-c", QuoteExecArgument(script), "quexo-terminal", "%f"}) +
           "\n" + Footer(programPath, "System;");
}

std::optional<std::string> RecordedProgram(const std::string& entryText) {
    std::istringstream in(entryText);
    std::string line;
    bool inMainGroup = false;
    const std::string key = kProgramKey;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.compare(0, key.size(), key) != 0)
            continue;
        size_t pos = key.size();
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos == line.size() || line[pos] != '=')
            continue;
        ++pos;
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        return UnescapeValue(line.substr(pos));
    }
    return std::nullopt;
}

} // namespace desktopentry
