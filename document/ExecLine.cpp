#include "document/ExecLine.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace execline {

namespace {

// One word of the line, quotes removed; file codes stay as written.
struct Word {
    std::string text;
    int codes = 0;           // file codes in the word
    bool quotedCode = false; // one of them inside quotes
};

bool IsFileCode(char c) {
    return c == 'f' || c == 'F' || c == 'u' || c == 'U';
}

// GIO's argument parser: blanks between words, '…' taken as it is, "…" with
// \ before " \ $ ` and newline, \ outside quotes taking the next character.
std::vector<Word> SplitWords(const std::string& exec) {
    std::vector<Word> words;
    Word word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            if (IsFileCode(code)) {
                ++word.codes;
                word.quotedCode = word.quotedCode || quote != 0;
            }
            word.text += '%';
            if (code != '%')
                word.text += code;
            inWord = true;
        } else if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                word.text += c;
        } else if (quote == '"') {
            if (c == '"')
                quote = 0;
            else if (c == '\\' && i + 1 < exec.size() &&
                     std::string("\"\\$`\n").find(exec[i + 1]) != std::string::npos)
                word.text += exec[++i];
            else
                word.text += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < exec.size()) {
            word.text += exec[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(word);
            word = Word{};
            inWord = false;
        } else {
            word.text += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsShell(const std::string& program) {
    static const char* const kShells[] = {"sh",    "bash", "dash",  "ash", "ksh",  "ksh93",
                                          "mksh",  "lksh", "pdksh", "zsh", "yash", "posh",
                                          "rbash", "fish", "csh",   "tcsh"};
    const std::string name = BaseName(program);
    return std::any_of(std::begin(kShells), std::end(kShells),
                       [&](const char* shell) { return name == shell; });
}

// -c, -lc, -ec…: the option that takes a script or command in many programs
// (vim -c runs an Ex command).
bool IsScriptOption(const std::string& option) {
    if (option.size() < 2 || option[0] != '-' || option.back() != 'c')
        return false;
    for (std::size_t i = 1; i < option.size(); ++i)
        if (option[i] < 'a' || option[i] > 'z')
            return false;
    return true;
}

bool OnlyCode(const Word& word) {
    return word.codes == 1 && word.text.size() == 2 && word.text[0] == '%';
}

FileCodeUse Worse(FileCodeUse a, FileCodeUse b) {
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

// The shell whose name stands just before `start`: its options, then its
// script (of -c) or script file, then the script's own arguments. `*name` is
// set to the index of the script's $0, a mere name.
FileCodeUse ShellUse(const std::vector<Word>& words, std::size_t start, std::size_t* name) {
    bool command = false;   // -c: the first operand is the script
    bool fromInput = false; // -s: every operand is an argument
    std::size_t i = start;
    while (i < words.size()) {
        const Word& word = words[i];
        const std::string& t = word.text;
        const bool option = t.size() >= 2 && (t[0] == '-' || t[0] == '+');
        if (word.codes > 0) {
            // A name comes first as an operand; a code inside an option (such
            // as fish's --command=%f) is code.
            if (option)
                return FileCodeUse::ShellCode;
            break;
        }
        if (t == "--" || t == "-") {
            ++i;
            break;
        }
        if (!option)
            break;
        ++i;
        if (t.rfind("--", 0) == 0) {
            if (t == "--command")
                command = true;
            else if (t == "--rcfile" || t == "--init-file")
                ++i; // takes the next word
            continue;
        }
        // A cluster of letters (-xc, +o, -eo opt): o and O take the next word.
        for (std::size_t k = 1; k < t.size(); ++k) {
            if (t[k] == 'c')
                command = true;
            else if (t[k] == 's')
                fromInput = true;
            else if (t[k] == 'o' || t[k] == 'O')
                ++i;
        }
    }
    if (command)
        *name = i + 1;
    if (i >= words.size() || words[i].codes == 0)
        return FileCodeUse::Argument; // later codes are $0, $1…
    if (command)
        return OnlyCode(words[i]) ? FileCodeUse::ShellCode : FileCodeUse::PlainNames;
    return fromInput ? FileCodeUse::Argument : FileCodeUse::ShellCode; // the file is the script
}

} // namespace

FileCodeUse ClassifyFileCodes(const std::string& exec) {
    const std::vector<Word> words = SplitWords(exec);
    FileCodeUse use = FileCodeUse::Argument;
    bool anyCode = false;
    bool splitString = false;              // env -S: a string read again into words
    std::size_t scriptName = words.size(); // a shell script's $0, which runs nothing
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Word& word = words[i];
        anyCode = anyCode || word.codes > 0;
        if (word.quotedCode)
            use = Worse(use, FileCodeUse::PlainNames);
        if (i == 0 && word.codes > 0)
            return FileCodeUse::ShellCode; // the file would be the program
        if (i > 0 && OnlyCode(word) && IsScriptOption(words[i - 1].text))
            use = Worse(use, FileCodeUse::PlainNames);
        // Later words are looked at too: the script may run its arguments
        // (sh -c 'exec "$@"' sh bash -c %f).
        if (word.codes == 0 && i != scriptName && IsShell(word.text))
            use = Worse(use, ShellUse(words, i + 1, &scriptName));
        if (BaseName(word.text) == "env")
            for (std::size_t k = i + 1; k < words.size(); ++k)
                if (words[k].text.rfind("-S", 0) == 0 ||
                    words[k].text.rfind("--split-string", 0) == 0)
                    splitString = true;
    }
    if (splitString && anyCode)
        return FileCodeUse::ShellCode;
    return use;
}

bool PlainFileName(const std::string& path) {
    static const std::string kPlainMarks = "/._-+,:@=%";
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || kPlainMarks.find(c) != std::string::npos;
        if (!plain)
            return false;
    }
    return !path.empty();
}

} // namespace execline
