// The check that decides whether the context-menu handler may be registered.
#ifdef _WIN32

#include "app/ShellServerFile.h"

#include "StorageTestSupport.h"

#include <aclapi.h>
#include <sddl.h>

using namespace storage_test;

TEST(ShellServerFile, OnlyARegularFileOfTheUserOrAnAdministratorIsTrusted) {
    TempDir dir;
    const std::string server = dir.File("quexosx.dll");
    EXPECT_FALSE(ServerFileTrusted(server)) << "missing";
    std::filesystem::create_directory(server);
    EXPECT_FALSE(ServerFileTrusted(server)) << "a folder of that name";
    std::filesystem::remove(server);
    WriteFile(server, Bytes(16, 'M'));
    EXPECT_TRUE(ServerFileTrusted(server)) << "ours";

    // Handed to another owner (everyone), as a file someone dropped there.
    PSID everyone = nullptr;
    ASSERT_TRUE(::ConvertStringSidToSidW(L"S-1-1-0", &everyone));
    std::wstring wide = std::filesystem::path(server).wstring();
    const DWORD err =
        ::SetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, everyone,
                                nullptr, nullptr, nullptr);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool givenAway =
        err == ERROR_SUCCESS &&
        ::GetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
        ::EqualSid(owner, everyone);
    ::LocalFree(descriptor);
    ::LocalFree(everyone);
    if (!givenAway)
        GTEST_SKIP() << "this system does not let us give the file away";
    EXPECT_FALSE(ServerFileTrusted(server)) << "someone else's";
}

#endif // _WIN32
