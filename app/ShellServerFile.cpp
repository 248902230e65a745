#ifdef _WIN32

#include "app/ShellServerFile.h"
#include "platform/WindowsNames.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <vector>

namespace {

using platform::winnames::Wide;

// The installer service, owner of the files Windows itself ships.
constexpr wchar_t kTrustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

bool IsCurrentUser(PSID owner) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size ? size : 1);
    const bool ok = size && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    ::CloseHandle(token);
    return ok && ::EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

bool IsTrustedOwner(PSID owner) {
    if (!owner || !::IsValidSid(owner))
        return false;
    if (::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
        ::IsWellKnownSid(owner, WinLocalSystemSid))
        return true;
    PSID installer = nullptr;
    if (::ConvertStringSidToSidW(kTrustedInstaller, &installer)) {
        const bool same = ::EqualSid(owner, installer);
        ::LocalFree(installer);
        if (same)
            return true;
    }
    return IsCurrentUser(owner);
}

} // namespace

bool ServerFileTrusted(const std::string& path) {
    const std::wstring name = Wide(path);
    // The file itself, never what a link leads to.
    const HANDLE file = ::CreateFileW(
        name.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    bool trusted =
        ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
    if (trusted) {
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        trusted = ::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                    nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
                  IsTrustedOwner(owner);
        if (descriptor)
            ::LocalFree(descriptor);
    }
    ::CloseHandle(file);
    return trusted;
}

#endif // _WIN32
