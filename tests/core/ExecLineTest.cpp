#include "document/ExecLine.h"

#include <gtest/gtest.h>

using execline::ClassifyFileCodes;
using execline::FileCodeUse;

TEST(ExecLine, EveryFormWhereAShellRunsTheNameIsRefused) {
    const struct {
        const char* exec;
        FileCodeUse use;
    } cases[] = {
        // The name as an argument of its own, also as a shell script's $0 or $1.
        {"ed %f", FileCodeUse::Argument},
        {"\"/opt/my ed\" --title \"100%%f\" %U", FileCodeUse::Argument},
        {"sh -c 'exec ed \"$1\"' sh %f", FileCodeUse::Argument},
        {"sh -c ed %f", FileCodeUse::Argument},
        {"sh -c 'exec \"$@\"' sh bash -c %f", FileCodeUse::ShellCode},
        {"bash -s %f", FileCodeUse::Argument},
        {"env VAR=1 ed --file=%f", FileCodeUse::Argument},
        {"\"ed\\\\sh\" %f", FileCodeUse::Argument},
        // Quoted codes: the name must not hold anything a shell reads.
        {"sh -c \"ed %f\"", FileCodeUse::PlainNames},
        {"sh -c 'ed %u'", FileCodeUse::PlainNames},
        {"sh -c ed\\ %f", FileCodeUse::PlainNames},
        {"xterm -e \"vi %f\"", FileCodeUse::PlainNames},
        {"vim -c %f", FileCodeUse::PlainNames},
        // The name as the script of -c: even /home/u/tool is a command.
        {"sh -c %f", FileCodeUse::ShellCode},
        {"sh -c \"%f\"", FileCodeUse::ShellCode},
        {"sh -c -- %f", FileCodeUse::ShellCode},
        {"sh -xc %f", FileCodeUse::ShellCode},
        {"bash -lc %f", FileCodeUse::ShellCode},
        {"sh -c -e %f", FileCodeUse::ShellCode},
        {"sh -o errexit -c %f", FileCodeUse::ShellCode},
        {"sh -co errexit %f", FileCodeUse::ShellCode},
        {"bash --norc -c %f", FileCodeUse::ShellCode},
        {"bash --rcfile /x -c %f", FileCodeUse::ShellCode},
        {"env VAR=1 sh -c %f", FileCodeUse::ShellCode},
        {"/usr/bin/env -i /bin/dash -c %F", FileCodeUse::ShellCode},
        {"busybox sh -c %f", FileCodeUse::ShellCode},
        {"xterm -e bash -c %f", FileCodeUse::ShellCode},
        {"fish --command %f", FileCodeUse::ShellCode},
        {"fish --command=%f", FileCodeUse::ShellCode},
        // The file itself as a script, or as the program.
        {"sh %f", FileCodeUse::ShellCode},
        {"bash -- %f", FileCodeUse::ShellCode},
        {"%f", FileCodeUse::ShellCode},
        // env -S reads its string into words again.
        {"env -S \"ed %f\"", FileCodeUse::ShellCode},
        {"env --split-string=ed %f", FileCodeUse::ShellCode},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyFileCodes(c.exec), c.use) << c.exec;
}

TEST(ExecLine, PlainNamesHoldNothingAShellReads) {
    EXPECT_TRUE(execline::PlainFileName("/home/\xc3\xa9/notes-1_2+a,b:c@d=e%.txt"));
    for (const char* name : {"", "/a b", "/a'b", "/a\"b", "/a$b", "/a`b", "/a;b", "/a\nb", "/a\\b",
                             "/a*b", "/a(b", "/a|b", "/a&b", "/a~b"})
        EXPECT_FALSE(execline::PlainFileName(name)) << name;
}
