// One version of the content of the file a piece table edits. File pieces
// share the version they read; the file's handle stays open while any piece,
// live or kept for undo, still needs it.
#pragma once

#include "platform/OsFile.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CSourceFile {
public:
    // Takes over `handle`; it is closed with the last version that reads it.
    static std::shared_ptr<CSourceFile> Adopt(platform::FileHandle handle);
    ~CSourceFile();

    CSourceFile(const CSourceFile&) = delete;
    CSourceFile& operator=(const CSourceFile&) = delete;

    platform::FileHandle Handle() const { return m_handle->m_handle; }
    // Names the file on disk (not the version): versions saved in place share
    // it. Rises with every file adopted, so a smaller one is an older file.
    std::uint64_t FileSerial() const { return m_handle->m_nSerial; }
    // True while the file itself holds this version's bytes, so a range can be
    // copied straight from it.
    bool IsFileAsIs() const { return !m_newer && m_kept.empty(); }

    // Reads as this version had the bytes: the file, then the bytes kept from
    // before later saves overwrote them. Returns the system's error code.
    int ReadAt(std::int64_t offset, void* buffer, std::uint32_t count, std::uint32_t* got) const;

    // Before a save overwrites [offset, offset + count) in place: keeps this
    // version's bytes of the range (those not kept already). Only for the
    // version the file holds. Returns the
    // system's error code; nothing is kept on failure.
    int KeepRange(std::int64_t offset, std::int64_t count);
    // After a save in place: the version the file now holds, on the same handle.
    std::shared_ptr<CSourceFile> MakeNewer();

private:
    // Bytes one version kept, from where a segment starts; the block is the
    // version's own, alive while any version that reads it is.
    struct CLayer {
        std::uint64_t m_nVersion;
        const std::uint8_t* m_pBytes;
    };
    // A range of the file some versions kept, each its own bytes, by rising
    // version. A version reads the layer of the first version at or after it
    // that kept the range: its bytes stayed as they were until that version's
    // save overwrote them. So a read costs the segments it touches, however
    // many saves came since.
    struct CSegment {
        std::int64_t m_nLength;
        std::deque<CLayer> m_layers; // the oldest goes first (see ~CSourceFile)
    };
    struct CHandle {
        explicit CHandle(platform::FileHandle handle);
        ~CHandle();
        CHandle(const CHandle&) = delete;
        CHandle& operator=(const CHandle&) = delete;
        platform::FileHandle m_handle;
        std::uint64_t m_nSerial;
        std::uint64_t m_nLastVersion = 0;
        std::map<std::int64_t, CSegment> m_segments; // disjoint, by offset
    };
    explicit CSourceFile(std::shared_ptr<CHandle> handle)
        : m_handle(std::move(handle)), m_nVersion(++m_handle->m_nLastVersion) {}
    // Makes a segment start at `at` when one spans it; returns the first
    // segment at or after `at`.
    std::map<std::int64_t, CSegment>::iterator SplitAt(std::int64_t at);
    void AddLayer(std::int64_t offset, const std::vector<std::uint8_t>& block);

    std::shared_ptr<CHandle> m_handle;
    std::uint64_t m_nVersion;
    // Keeps the later versions' layers alive while this one may read them.
    std::shared_ptr<CSourceFile> m_newer;
    // The bytes this version kept, by where they start in the file; their
    // layers go with them.
    std::vector<std::pair<std::int64_t, std::vector<std::uint8_t>>> m_kept;
};
