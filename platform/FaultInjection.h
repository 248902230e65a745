// Test hooks: make chosen file operations fail as a full disk, a bad sector or a
// refusing folder would, so tests can prove that nothing is lost. Production
// code never installs an injector, and the checks cost one pointer test.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// SyncFolder: opening and syncing the folder after a rename (named by the
// renamed file's new name). Close is only noted, never failed: the name is
// empty for a handle the layer does not know (never opened, or closed before).
enum class FileOp {
    Open,
    Read,
    Write,
    Copy,
    Sync,
    CreateTemp,
    Replace,
    Remove,
    SetLength,
    SyncFolder,
    Close
};

class FaultInjector {
public:
    virtual ~FaultInjector() = default;
    // Return 0 to let the call proceed, or an error code to fail it. For writes
    // and copies, `*count` may be lowered to make a short transfer.
    virtual int Before(FileOp op, const std::string& name, std::int64_t* count) = 0;
};

// Installs `injector` (null removes it); returns the previous one.
FaultInjector* SetFaultInjector(FaultInjector* injector);
FaultInjector* CurrentFaultInjector();

// Windows only: replace files with the plain write-through move instead of
// ReplaceFileW first, so tests cover both ways. Does nothing elsewhere.
void UseMoveForReplaceForTests(bool moveOnly);

} // namespace platform
