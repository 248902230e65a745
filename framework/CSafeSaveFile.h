// The file a document is saved into under a new name. Everything is written to
// a temporary file beside the target, which takes the target's place only when
// it is complete and on disk; until then an existing target stays as it was.
// The target itself is held open with an exclusive share lock meanwhile, so a
// file another open holds is refused instead of replaced under it.
#pragma once

#include "storage/CFile64.h"

#include <string>

class CSafeSaveFile : public CFile64 {
public:
    CSafeSaveFile() = default;
    ~CSafeSaveFile() override;

    // Opens `fileName` for writing whatever `flags` says (create, read-write,
    // exclusive). False, with `error` filled, when the target or the temporary
    // file cannot be created.
    bool Open(const char* fileName, unsigned flags, CFileException* error = nullptr) override;
    // Syncs the temporary file and puts it in the target's place.
    void Close() override;
    // Drops the temporary file; the target keeps its old content (or, when it
    // did not exist before, is removed again).
    void Abort() override;

    const std::string& GetTempName() const { return m_strTempName; }

private:
    void Discard();

    platform::FileHandle m_hTarget = platform::kNoFile;
    std::string m_strTarget;
    std::string m_strTempName;
    bool m_bCreatedTarget = false;
};
