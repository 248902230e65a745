#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, RegistrationArgumentsStandAloneInAnyCase) {
    EXPECT_EQ(ClassifyCommandLine({}).kind, CommandLineKind::None);
    for (const char* arg : {"/install", "/INSTALL", "/InStAlL"})
        EXPECT_EQ(ClassifyCommandLine({arg}).kind, CommandLineKind::Install) << arg;
    for (const char* arg : {"/uninstall", "/UnInstall"})
        EXPECT_EQ(ClassifyCommandLine({arg}).kind, CommandLineKind::Uninstall) << arg;
    EXPECT_EQ(ClassifyCommandLine({"install"}).kind, CommandLineKind::OpenFile);
    EXPECT_EQ(ClassifyCommandLine({"/install "}).kind, CommandLineKind::OpenFile);

    // With a second argument it is the general form: the option is ignored.
    const CommandLineRequest r = ClassifyCommandLine({"/install", "data.bin"});
    EXPECT_EQ(r.kind, CommandLineKind::Other);
    EXPECT_EQ(r.fileName, "data.bin");
    EXPECT_EQ(ClassifyCommandLine({"/uninstall", "/uninstall"}).kind, CommandLineKind::Other);
}

TEST(CommandLine, OneFileIncludingAbsolutePaths) {
    for (const char* arg : {"data.bin", "/home/u/data.bin", "/p.bin", "-"}) {
        const CommandLineRequest r = ClassifyCommandLine({arg});
        EXPECT_EQ(r.kind, CommandLineKind::OpenFile) << arg;
        EXPECT_EQ(r.fileName, arg);
        EXPECT_FALSE(r.print);
    }
}

TEST(CommandLine, GeneralFormTakesTheFirstFileAndPrintOptions) {
    CommandLineRequest r = ClassifyCommandLine({"/p", "/tmp/a.bin", "/tmp/b.bin"});
    EXPECT_EQ(r.kind, CommandLineKind::Other);
    EXPECT_TRUE(r.print);
    EXPECT_FALSE(r.printTo);
    EXPECT_EQ(r.fileName, "/tmp/a.bin");

    r = ClassifyCommandLine({"/PT", "a.bin", "Laser", "drv", "lp0", "extra"});
    EXPECT_TRUE(r.printTo);
    EXPECT_EQ(r.fileName, "a.bin");
    EXPECT_EQ(r.printerName, "Laser");
    EXPECT_EQ(r.driverName, "drv");
    EXPECT_EQ(r.portName, "lp0");

    r = ClassifyCommandLine({"-dde", "--", "-odd name"});
    EXPECT_EQ(r.fileName, "-odd name");
    r = ClassifyCommandLine({"/p"});
    EXPECT_EQ(r.kind, CommandLineKind::Other);
    EXPECT_TRUE(r.fileName.empty());
}
