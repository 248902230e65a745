// One version of the content of the file a piece table edits. File pieces
// share the version they read; the file's handle stays open while any piece,
// live or kept for undo, still needs it.
#pragma once

#include "platform/OsFile.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class CSourceFile {
public:
    // Takes over `handle`; it is closed with the last version that reads it.
    static std::shared_ptr<CSourceFile> Adopt(platform::FileHandle handle);

    CSourceFile(const CSourceFile&) = delete;
    CSourceFile& operator=(const CSourceFile&) = delete;

    platform::FileHandle Handle() const { return m_handle->m_handle; }
    // True while the file itself holds this version's bytes, so a range can be
    // copied straight from it.
    bool IsFileAsIs() const { return !m_newer && m_kept.empty(); }

    // Reads as this version had the bytes: the file, then the bytes kept from
    // before later saves overwrote them. Returns the system's error code.
    int ReadAt(std::int64_t offset, void* buffer, std::uint32_t count, std::uint32_t* got) const;

    // Before a save overwrites [offset, offset + count) in place: keeps this
    // version's bytes of the range (those not kept already). Returns the
    // system's error code; nothing is kept on failure.
    int KeepRange(std::int64_t offset, std::int64_t count);
    // After a save in place: the version the file now holds, on the same handle.
    std::shared_ptr<CSourceFile> MakeNewer();

private:
    struct CHandle {
        explicit CHandle(platform::FileHandle handle) : m_handle(handle) {}
        ~CHandle();
        CHandle(const CHandle&) = delete;
        CHandle& operator=(const CHandle&) = delete;
        platform::FileHandle m_handle;
    };
    explicit CSourceFile(std::shared_ptr<CHandle> handle) : m_handle(std::move(handle)) {}
    // Reads what the file or the newer version delivers, without this version's kept bytes.
    int ReadBelow(std::int64_t offset, void* buffer, std::uint32_t count, std::uint32_t* got) const;

    std::shared_ptr<CHandle> m_handle;
    std::shared_ptr<CSourceFile> m_newer;
    // Disjoint ranges by offset: this version's bytes where a later save wrote others.
    std::map<std::int64_t, std::vector<std::uint8_t>> m_kept;
};
