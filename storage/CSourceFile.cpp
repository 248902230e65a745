#include "storage/CSourceFile.h"

#include <algorithm>
#include <cstring>

CSourceFile::CHandle::~CHandle() {
    if (m_handle != platform::kNoFile)
        platform::CloseFile(m_handle);
}

std::shared_ptr<CSourceFile> CSourceFile::Adopt(platform::FileHandle handle) {
    std::shared_ptr<CHandle> owner;
    try {
        owner = std::make_shared<CHandle>(handle);
    } catch (...) {
        platform::CloseFile(handle);
        throw;
    }
    return std::shared_ptr<CSourceFile>(new CSourceFile(std::move(owner)));
}

std::shared_ptr<CSourceFile> CSourceFile::MakeNewer() {
    m_newer = std::shared_ptr<CSourceFile>(new CSourceFile(m_handle));
    return m_newer;
}

int CSourceFile::ReadBelow(std::int64_t offset, void* buffer, std::uint32_t count,
                           std::uint32_t* got) const {
    if (m_newer)
        return m_newer->ReadAt(offset, buffer, count, got);
    return platform::ReadAt(Handle(), offset, buffer, count, got);
}

int CSourceFile::ReadAt(std::int64_t offset, void* buffer, std::uint32_t count,
                        std::uint32_t* got) const {
    if (const int err = ReadBelow(offset, buffer, count, got))
        return err;
    if (m_kept.empty())
        return 0;
    const std::int64_t end = offset + *got;
    auto it = m_kept.upper_bound(offset);
    if (it != m_kept.begin())
        --it;
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (; it != m_kept.end() && it->first < end; ++it) {
        const std::int64_t from = std::max(offset, it->first);
        const std::int64_t to =
            std::min(end, it->first + static_cast<std::int64_t>(it->second.size()));
        if (from < to)
            std::memcpy(out + (from - offset), it->second.data() + (from - it->first),
                        static_cast<size_t>(to - from));
    }
    return 0;
}

int CSourceFile::KeepRange(std::int64_t offset, std::int64_t count) {
    // The gaps of [offset, offset + count) between ranges kept already: a save
    // that failed part-way has overwritten kept ranges, never the gaps.
    std::vector<std::pair<std::int64_t, std::int64_t>> gaps;
    const std::int64_t end = offset + count;
    std::int64_t at = offset;
    auto it = m_kept.upper_bound(offset);
    if (it != m_kept.begin())
        --it;
    for (; it != m_kept.end() && at < end; ++it) {
        const std::int64_t keptEnd = it->first + static_cast<std::int64_t>(it->second.size());
        if (keptEnd <= at)
            continue;
        if (it->first > at)
            gaps.emplace_back(at, std::min(it->first, end));
        at = std::max(at, keptEnd);
    }
    if (at < end)
        gaps.emplace_back(at, end);

    std::vector<std::pair<std::int64_t, std::vector<std::uint8_t>>> read;
    for (const auto& [from, to] : gaps) {
        std::vector<std::uint8_t> bytes(static_cast<size_t>(to - from));
        std::int64_t done = 0;
        while (done < to - from) {
            const auto n = static_cast<std::uint32_t>(
                std::min<std::int64_t>(to - from - done, std::int64_t{1} << 30));
            std::uint32_t got = 0;
            if (const int err = ReadBelow(from + done, bytes.data() + done, n, &got))
                return err;
            if (got == 0)
                break; // past the end of the file: nothing there to keep
            done += got;
        }
        bytes.resize(static_cast<size_t>(done));
        if (!bytes.empty())
            read.emplace_back(from, std::move(bytes));
    }
    for (auto& [from, bytes] : read)
        m_kept.emplace(from, std::move(bytes));
    return 0;
}
