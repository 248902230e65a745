#include "app/ShellRegistration.h"
#include "app/RegistryTree.h"

#include "MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::string kProgram = "C:\\Program Files\\Quexo\\quexo.exe";
const std::string kServer = "C:\\Program Files\\Quexo\\quexosx.dll";

std::string FolderCommand() {
    return std::string(shellreg::kFolderVerbKey) + "\\command";
}
std::string DriveCommand() {
    return std::string(shellreg::kDriveVerbKey) + "\\command";
}

} // namespace

TEST(ShellRegistration, ServerPathSitsBesideTheProgram) {
    EXPECT_EQ(ShellServerPath(kProgram), kServer);
    EXPECT_EQ(ShellServerPath("quexo.exe"), "quexosx.dll");
    EXPECT_EQ(ShellServerPath("D:\\"), "D:\\quexosx.dll");
    EXPECT_EQ(CommandPromptProgram(PlatformFamily::Windows95), "command.com");
    EXPECT_EQ(CommandPromptProgram(PlatformFamily::WindowsNT), "cmd.exe");
    EXPECT_EQ(CommandPromptProgram(PlatformFamily::Other), "");
}

TEST(ShellRegistration, FirstStartWritesEverythingSecondStartNothing) {
    CMemoryRegistry reg;
    EXPECT_TRUE(UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT));

    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kHandlerKey), shellreg::kClassId);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kClassKey), "Quexo Pro");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey), kServer);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey, "ThreadingModel"), "Apartment");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, FolderCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, DriveCommand()), "cmd.exe");
    EXPECT_FALSE(reg.Exists(kHKeyLocalMachine, shellreg::kUninstallKey));
    EXPECT_EQ(reg.OpenHandles(), 0u);

    reg.m_writes = 0;
    EXPECT_TRUE(UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT));
    EXPECT_EQ(reg.m_writes, 0);
}

TEST(ShellRegistration, PromptVerbsFollowThePlatform) {
    CMemoryRegistry old;
    UpdateShellRegistration(old, false, kProgram, PlatformFamily::Windows95);
    EXPECT_EQ(old.Value(kHKeyClassesRoot, FolderCommand()), "command.com");

    CMemoryRegistry other;
    UpdateShellRegistration(other, false, kProgram, PlatformFamily::Other);
    EXPECT_EQ(other.Value(kHKeyClassesRoot, shellreg::kServerKey), kServer);
    EXPECT_FALSE(other.Exists(kHKeyClassesRoot, shellreg::kFolderVerbKey));
    EXPECT_FALSE(other.Exists(kHKeyClassesRoot, shellreg::kDriveVerbKey));
}

TEST(ShellRegistration, DeletedPromptKeysComeBackOnlyWhenTheProgramMoves) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    ASSERT_TRUE(DeleteRegistryTree(reg, kHKeyClassesRoot, shellreg::kFolderVerbKey));
    ASSERT_TRUE(DeleteRegistryTree(reg, kHKeyClassesRoot, shellreg::kDriveVerbKey));

    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kFolderVerbKey));

    UpdateShellRegistration(reg, false, "E:\\Tools\\quexo.exe", PlatformFamily::WindowsNT);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, FolderCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, DriveCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey), "E:\\Tools\\quexosx.dll");
}

TEST(ShellRegistration, PathDifferingOnlyInCaseRewritesEverything) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    reg.m_writes = 0;
    UpdateShellRegistration(reg, false, "C:\\PROGRAM FILES\\Quexo\\quexo.exe",
                            PlatformFamily::WindowsNT);
    EXPECT_EQ(reg.m_writes, 6); // four handler values and two prompt verbs
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey),
              "C:\\PROGRAM FILES\\Quexo\\quexosx.dll");
}

TEST(ShellRegistration, RemoveDeletesTheTreesInOrderAndKeepsTheSettingsProfile) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    SetRegistryString(reg, kHKeyLocalMachine, shellreg::kUninstallKey, "DisplayName", "Quexo");
    SetRegistryString(reg, kHKeyCurrentUser, std::string(shellreg::kMakerKey) + "\\Sub", "x", "1");
    SetRegistryString(reg, kHKeyCurrentUser, "Software\\Tavrin Software\\QuexoPro\\Settings",
                      "Hex Address", "1");

    EXPECT_FALSE(UpdateShellRegistration(reg, true, kProgram, PlatformFamily::WindowsNT));

    const std::vector<std::string> expected = {
        "HKCR\\CLSID\\{6513270E-269E-11d0-A2F7-4DE452E6B438}\\InProcServer32",
        "HKCR\\CLSID\\{6513270E-269E-11d0-A2F7-4DE452E6B438}",
        "HKCR\\*\\shellex\\ContextMenuHandlers\\Quexo Pro",
        "HKCR\\Directory\\shell\\DOS Prompt Here\\command",
        "HKCR\\Directory\\shell\\DOS Prompt Here",
        "HKCR\\Drive\\shell\\DOS Prompt Here\\command",
        "HKCR\\Drive\\shell\\DOS Prompt Here",
        "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quexo",
        "HKCU\\Software\\Tavrin Software\\Quexo Pro\\Sub",
        "HKCU\\Software\\Tavrin Software\\Quexo Pro",
    };
    EXPECT_EQ(reg.m_deleted, expected);
    EXPECT_EQ(
        reg.Value(kHKeyCurrentUser, "Software\\Tavrin Software\\QuexoPro\\Settings", "Hex Address"),
        "1");
    EXPECT_EQ(reg.OpenHandles(), 0u);

    // Nothing left to remove: every delete fails quietly.
    reg.m_deleted.clear();
    EXPECT_FALSE(UpdateShellRegistration(reg, true, kProgram, PlatformFamily::WindowsNT));
    EXPECT_TRUE(reg.m_deleted.empty());
}

TEST(ShellRegistration, ObsoletePerFileVerbGoesInBothModes) {
    for (const bool remove : {false, true}) {
        CMemoryRegistry reg;
        SetRegistryString(reg, kHKeyClassesRoot, "*\\shell\\Quexo\\command", nullptr, "old.exe");
        SetRegistryString(reg, kHKeyClassesRoot, "*\\shell\\Other", nullptr, "keep");
        UpdateShellRegistration(reg, remove, kProgram, PlatformFamily::WindowsNT);
        EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kObsoleteVerbKey)) << remove;
        EXPECT_TRUE(reg.Exists(kHKeyClassesRoot, "*\\shell\\Other")) << remove;
    }
    // Also when the registration is already current.
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    SetRegistryString(reg, kHKeyClassesRoot, shellreg::kObsoleteVerbKey, nullptr, "old.exe");
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT);
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kObsoleteVerbKey));
}

TEST(RegistryTree, DeleteKeepsSubkeysBeyondTheFirst256AndReportsTheFailure) {
    CMemoryRegistry reg;
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "K%03d", i);
        SetRegistryString(reg, kHKeyCurrentUser, std::string("Big\\") + name + "\\Leaf", "v", "x");
    }
    EXPECT_FALSE(DeleteRegistryTree(reg, kHKeyCurrentUser, "Big"));
    EXPECT_TRUE(reg.Exists(kHKeyCurrentUser, "Big"));
    EXPECT_EQ(reg.ChildCount(kHKeyCurrentUser, "Big"), 44u);
    EXPECT_FALSE(reg.Exists(kHKeyCurrentUser, "Big\\K255"));
    EXPECT_TRUE(reg.Exists(kHKeyCurrentUser, "Big\\K256\\Leaf"));
    EXPECT_EQ(reg.OpenHandles(), 0u);

    // A second pass reaches the rest.
    EXPECT_TRUE(DeleteRegistryTree(reg, kHKeyCurrentUser, "Big"));
    EXPECT_FALSE(reg.Exists(kHKeyCurrentUser, "Big"));
}

TEST(RegistryTree, MissingOrProtectedKeysAreNotDeleted) {
    CMemoryRegistry reg;
    EXPECT_FALSE(DeleteRegistryTree(reg, kHKeyClassesRoot, "Nowhere"));
    SetRegistryString(reg, kHKeyClassesRoot, "Locked\\Child", nullptr, "x");
    reg.m_readOnly.push_back("hkcr\\locked");
    EXPECT_FALSE(DeleteRegistryTree(reg, kHKeyClassesRoot, "Locked"));
    EXPECT_TRUE(reg.Exists(kHKeyClassesRoot, "Locked\\Child"));
    EXPECT_EQ(GetRegistryString(reg, kHKeyClassesRoot, "Locked\\Child", nullptr), "x");
    EXPECT_EQ(GetRegistryString(reg, kHKeyClassesRoot, "Locked\\Child", "missing"), "");
    EXPECT_EQ(GetRegistryString(reg, kHKeyClassesRoot, "Missing", nullptr), "");
}
