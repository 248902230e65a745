// The framework's parser and the start-up's classification read the same words
// the same way: flags, "--", and absolute paths.
#include "app/CommandLine.h"
#include "framework/CCommandLineInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    std::vector<std::string> words;
    std::string file; // expected file name ("" when none)
    CCommandLineInfo::ShellCommand command;
    std::string printer = {};
};

QStringList ToQt(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& word : words)
        list.append(QString::fromStdString(word));
    return list;
}

} // namespace

TEST(CommandLineWords, FlagsEndOfFlagsAndPathsReadAlikeInBothParsers) {
    using C = CCommandLineInfo;
    const Case cases[] = {
        {{"--", "file"}, "file", C::FileOpen},
        {{"-x", "file"}, "file", C::FileOpen},
        {{"--", "-odd-name"}, "-odd-name", C::FileOpen},
        {{"--", "--"}, "--", C::FileOpen},
        {{"--", "/p", "a.bin"}, "/p", C::FileOpen},
        {{"/x", "/Embedding", "--verbose", "a.bin"}, "a.bin", C::FileOpen},
        {{"/home/u/a.bin"}, "/home/u/a.bin", C::FileOpen},
        {{"/p.bin"}, "/p.bin", C::FileOpen},
        {{"-"}, "-", C::FileOpen},
        {{"/"}, "/", C::FileOpen},
        {{"/install", "a.bin"}, "a.bin", C::FileOpen},
        {{"-q"}, "", C::FileNew},
        {{"/p", "/tmp/a.bin"}, "/tmp/a.bin", C::FilePrint},
        {{"-P", "--", "-a.bin"}, "-a.bin", C::FilePrint},
        {{"/pt", "a.bin", "-z", "Laser"}, "a.bin", C::FilePrintTo, "Laser"},
        {{"/pt", "a.bin", "--", "-Laser"}, "a.bin", C::FilePrintTo, "-Laser"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.words)
            line += "[" + word + "]";
        CCommandLineInfo info;
        info.Parse(ToQt(c.words));
        EXPECT_EQ(info.m_nShellCommand, c.command) << line;
        EXPECT_EQ(info.m_strFileName.toStdString(), c.file) << line;
        EXPECT_EQ(info.m_strPrinterName.toStdString(), c.printer) << line;

        const CommandLineRequest request = ClassifyCommandLine(c.words);
        EXPECT_EQ(request.fileName, c.file) << line;
        EXPECT_EQ(request.print, c.command == C::FilePrint || c.command == C::FilePrintTo) << line;
        EXPECT_EQ(request.printerName, c.printer) << line;
    }
}
