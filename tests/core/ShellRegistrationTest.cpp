#include "app/ShellRegistration.h"
#include "app/RegistryTree.h"

#include "MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const std::string kProgram = "C:\\Program Files\\Quexo\\quexo.exe";
const std::string kServer = "C:\\Program Files\\Quexo\\quexosx.dll";

// A server file shipped beside the program (the check passes for any path).
const ServerFileCheck kShipped = [](const std::string&) { return true; };

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
    EXPECT_TRUE(UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped));

    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kHandlerKey), shellreg::kClassId);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kClassKey), "Quexo Pro");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey), kServer);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey, "ThreadingModel"), "Apartment");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, FolderCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, DriveCommand()), "cmd.exe");
    EXPECT_FALSE(reg.Exists(kHKeyLocalMachine, shellreg::kUninstallKey));
    EXPECT_EQ(reg.OpenHandles(), 0u);

    reg.m_writes = 0;
    EXPECT_TRUE(UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped));
    EXPECT_EQ(reg.m_writes, 0);
}

TEST(ShellRegistration, PromptVerbsFollowThePlatform) {
    CMemoryRegistry old;
    UpdateShellRegistration(old, false, kProgram, PlatformFamily::Windows95, kShipped);
    EXPECT_EQ(old.Value(kHKeyClassesRoot, FolderCommand()), "command.com");

    CMemoryRegistry other;
    UpdateShellRegistration(other, false, kProgram, PlatformFamily::Other, kShipped);
    EXPECT_EQ(other.Value(kHKeyClassesRoot, shellreg::kServerKey), kServer);
    EXPECT_FALSE(other.Exists(kHKeyClassesRoot, shellreg::kFolderVerbKey));
    EXPECT_FALSE(other.Exists(kHKeyClassesRoot, shellreg::kDriveVerbKey));
}

TEST(ShellRegistration, DeletedPromptKeysComeBackOnlyWhenTheProgramMoves) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    ASSERT_TRUE(DeleteRegistryTree(reg, kHKeyClassesRoot, shellreg::kFolderVerbKey));
    ASSERT_TRUE(DeleteRegistryTree(reg, kHKeyClassesRoot, shellreg::kDriveVerbKey));

    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kFolderVerbKey));

    UpdateShellRegistration(reg, false, "E:\\Tools\\quexo.exe", PlatformFamily::WindowsNT,
                            kShipped);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, FolderCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, DriveCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey), "E:\\Tools\\quexosx.dll");
}

TEST(ShellRegistration, PathDifferingOnlyInCaseRewritesEverything) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    reg.m_writes = 0;
    UpdateShellRegistration(reg, false, "C:\\PROGRAM FILES\\Quexo\\quexo.exe",
                            PlatformFamily::WindowsNT, kShipped);
    EXPECT_EQ(reg.m_writes, 6); // four handler values and two prompt verbs
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey),
              "C:\\PROGRAM FILES\\Quexo\\quexosx.dll");
}

TEST(ShellRegistration, RemoveDeletesTheTreesInOrderAndKeepsTheSettingsProfile) {
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    SetRegistryString(reg, kHKeyLocalMachine, shellreg::kUninstallKey, "DisplayName", "Quexo");
    SetRegistryString(reg, kHKeyCurrentUser, std::string(shellreg::kMakerKey) + "\\Sub", "x", "1");
    SetRegistryString(reg, kHKeyCurrentUser, "Software\\Tavrin Software\\QuexoPro\\Settings",
                      "Hex Address", "1");

    EXPECT_FALSE(UpdateShellRegistration(reg, true, kProgram, PlatformFamily::WindowsNT, kShipped));

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
    EXPECT_FALSE(UpdateShellRegistration(reg, true, kProgram, PlatformFamily::WindowsNT, kShipped));
    EXPECT_TRUE(reg.m_deleted.empty());
}

TEST(ShellRegistration, ObsoletePerFileVerbGoesInBothModes) {
    for (const bool remove : {false, true}) {
        CMemoryRegistry reg;
        SetRegistryString(reg, kHKeyClassesRoot, "*\\shell\\Quexo\\command", nullptr, "old.exe");
        SetRegistryString(reg, kHKeyClassesRoot, "*\\shell\\Other", nullptr, "keep");
        UpdateShellRegistration(reg, remove, kProgram, PlatformFamily::WindowsNT, kShipped);
        EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kObsoleteVerbKey)) << remove;
        EXPECT_TRUE(reg.Exists(kHKeyClassesRoot, "*\\shell\\Other")) << remove;
    }
    // Also when the registration is already current.
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    SetRegistryString(reg, kHKeyClassesRoot, shellreg::kObsoleteVerbKey, nullptr, "old.exe");
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, kShipped);
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kObsoleteVerbKey));
}

TEST(ShellRegistration, HandlerWithoutATrustedServerFileIsNeverRegistered) {
    // No server file beside this program (or one anybody could have put
    // there): the handler is not written, a registration of it goes, and the
    // prompt verbs, which need no server, are written as before.
    std::vector<std::string> trusted = {"C:\\Other\\quexosx.dll"};
    const ServerFileCheck check = [&](const std::string& path) {
        return std::find(trusted.begin(), trusted.end(), path) != trusted.end();
    };
    CMemoryRegistry reg;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, check);
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kClassKey));
    EXPECT_FALSE(reg.Exists(kHKeyClassesRoot, shellreg::kHandlerKey));
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, FolderCommand()), "cmd.exe");
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, DriveCommand()), "cmd.exe");
    reg.m_writes = 0;
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, check);
    EXPECT_EQ(reg.m_writes, 0) << "nothing to do once the verbs are current";

    // Registered by an earlier start from this folder, or for a file that is
    // no longer trusted: removed. A trusted one of another copy stays.
    for (const std::string& recorded :
         {kServer, std::string("D:\\Gone\\quexosx.dll"), std::string("C:\\Other\\quexosx.dll")}) {
        CMemoryRegistry old;
        SetRegistryString(old, kHKeyClassesRoot, shellreg::kHandlerKey, nullptr,
                          shellreg::kClassId);
        SetRegistryString(old, kHKeyClassesRoot, shellreg::kServerKey, nullptr, recorded);
        UpdateShellRegistration(old, false, kProgram, PlatformFamily::WindowsNT, check);
        const bool kept = recorded == "C:\\Other\\quexosx.dll";
        EXPECT_EQ(old.Exists(kHKeyClassesRoot, shellreg::kClassKey), kept) << recorded;
        EXPECT_EQ(old.Exists(kHKeyClassesRoot, shellreg::kHandlerKey), kept) << recorded;
    }

    // Once a trusted server file is in place, the next start registers it.
    trusted.push_back(kServer);
    UpdateShellRegistration(reg, false, kProgram, PlatformFamily::WindowsNT, check);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kServerKey), kServer);
    EXPECT_EQ(reg.Value(kHKeyClassesRoot, shellreg::kHandlerKey), shellreg::kClassId);
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
