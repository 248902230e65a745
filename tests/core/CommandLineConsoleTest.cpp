// The terminal commands: --help, --version and /sum, their output and exit
// statuses, and what they leave to the editor.
#include "StorageTestSupport.h"

#include "app/CommandLineConsole.h"
#include "app/CommandLineSum.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace storage_test;

namespace {

struct Console {
    std::ostringstream out, err;
    std::optional<int> status;
};

Console RunConsole(const std::vector<std::string>& arguments) {
    Console console;
    console.status = RunConsoleCommand(arguments, console.out, console.err);
    return console;
}

const char* const kAbcSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

} // namespace

TEST(CommandLineConsole, HelpAndVersionPrintAndSucceed) {
    const Console help = RunConsole({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"/p ", "/pt ", "/sum ", "/install", "/uninstall", "--  ", "sha3-256"})
        EXPECT_NE(help.out.str().find(word), std::string::npos) << word;
    EXPECT_EQ(RunConsole({"--version"}).out.str(),
              std::string("quexo (Quexo Pro) ") + QUEXO_VERSION + "\n");

    // Everything else is the editor's: a file, "--" before a file named so.
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{}, {"a.bin"}, {"--", "--help"}, {"/p", "a.bin"}, {"/summary"}})
        EXPECT_EQ(RunConsole(words).status, std::nullopt) << (words.empty() ? "" : words[0]);
}

TEST(CommandLineConsole, SumPrintsTheLinesOfSha256sum) {
    TempDir dir;
    WriteFile(dir.File("abc"), Bytes{'a', 'b', 'c'});
    WriteFile(dir.File("empty"), Bytes{});

    const Console sum = RunConsole({"/SUM", "SHA256", dir.File("abc"), dir.File("empty")});
    EXPECT_EQ(sum.status, 0);
    EXPECT_EQ(sum.out.str(),
              std::string(kAbcSha256) + "  " + dir.File("abc") + "\n" +
                  "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855  " +
                  dir.File("empty") + "\n");
    EXPECT_EQ(sum.err.str(), "");
    EXPECT_EQ(RunConsole({"/sum", "crc32", "--", dir.File("abc")}).out.str(),
              "352441c2  " + dir.File("abc") + "\n");

    // Names that would break the line are escaped as sha256sum escapes them.
    EXPECT_EQ(SumLine("00", "a\\b\nc\rd"), "\\00  a\\\\b\\nc\\rd\n");
    EXPECT_EQ(SumLine("00", "plain name"), "00  plain name\n");
}

TEST(CommandLineConsole, SumReportsErrorsInFrench) {
    TempDir dir;
    WriteFile(dir.File("abc"), Bytes{'a', 'b', 'c'});

    // A missing file is reported, the others are still summed, the status says so.
    const Console missing = RunConsole({"/sum", "sha256", dir.File("none"), dir.File("abc")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.str(), "quexo : " + dir.File("none") + " n'est pas trouvé.\n");
    EXPECT_EQ(missing.out.str(), std::string(kAbcSha256) + "  " + dir.File("abc") + "\n");

    // A folder cannot be summed.
    EXPECT_EQ(RunConsole({"/sum", "md5", dir.Path()}).status, 1);

    const Console unknown = RunConsole({"/sum", "sha255", dir.File("abc")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.str().find("algorithme inconnu « sha255 »"), std::string::npos);
    EXPECT_EQ(unknown.out.str(), "");
    EXPECT_EQ(RunConsole({"/sum"}).status, 2);
    EXPECT_EQ(RunConsole({"/sum", "md5"}).status, 2);
    EXPECT_EQ(RunConsole({"/sum", "md5", "--"}).status, 2);
}
