#include "storage/CSourceFile.h"

#include <algorithm>
#include <cstring>

namespace {
std::uint64_t g_nLastFileSerial = 0;
}

CSourceFile::CHandle::CHandle(platform::FileHandle handle)
    : m_handle(handle), m_nSerial(++g_nLastFileSerial) {}

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

CSourceFile::~CSourceFile() {
    // Versions older than this one are gone (each held the next), so no one
    // reads this version's layers any more, and they are the oldest left.
    auto& segments = m_handle->m_segments;
    for (const auto& [from, bytes] : m_kept) {
        const std::int64_t to = from + static_cast<std::int64_t>(bytes.size());
        for (auto it = segments.lower_bound(from); it != segments.end() && it->first < to;) {
            auto& layers = it->second.m_layers;
            const auto mine = std::lower_bound(layers.begin(), layers.end(), m_nVersion,
                                               [](const CLayer& layer, std::uint64_t version) {
                                                   return layer.m_nVersion < version;
                                               });
            if (mine != layers.end() && mine->m_nVersion == m_nVersion)
                layers.erase(mine);
            it = layers.empty() ? segments.erase(it) : std::next(it);
        }
    }
    // Let go of the chain of newer versions one by one: a chain of many saves
    // must not unwind as deep recursion.
    std::shared_ptr<CSourceFile> next = std::move(m_newer);
    while (next && next.use_count() == 1) {
        std::shared_ptr<CSourceFile> after = std::move(next->m_newer);
        next = std::move(after);
    }
}

std::shared_ptr<CSourceFile> CSourceFile::MakeNewer() {
    m_newer = std::shared_ptr<CSourceFile>(new CSourceFile(m_handle));
    return m_newer;
}

int CSourceFile::ReadAt(std::int64_t offset, void* buffer, std::uint32_t count,
                        std::uint32_t* got) const {
    if (const int err = platform::ReadAt(Handle(), offset, buffer, count, got))
        return err;
    const auto& segments = m_handle->m_segments;
    if (segments.empty())
        return 0;
    const std::int64_t end = offset + *got;
    auto it = segments.upper_bound(offset);
    if (it != segments.begin())
        --it;
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (; it != segments.end() && it->first < end; ++it) {
        const std::int64_t from = std::max(offset, it->first);
        const std::int64_t to = std::min(end, it->first + it->second.m_nLength);
        if (from >= to)
            continue;
        const auto& layers = it->second.m_layers;
        const auto layer = std::lower_bound(
            layers.begin(), layers.end(), m_nVersion,
            [](const CLayer& l, std::uint64_t version) { return l.m_nVersion < version; });
        if (layer == layers.end())
            continue; // no save since this version wrote here
        std::memcpy(out + (from - offset), layer->m_pBytes + (from - it->first),
                    static_cast<size_t>(to - from));
    }
    return 0;
}

std::map<std::int64_t, CSourceFile::CSegment>::iterator CSourceFile::SplitAt(std::int64_t at) {
    auto& segments = m_handle->m_segments;
    auto it = segments.upper_bound(at);
    if (it == segments.begin())
        return it;
    auto before = std::prev(it);
    const std::int64_t start = before->first;
    if (start == at || start + before->second.m_nLength <= at)
        return start == at ? before : it;
    CSegment tail{start + before->second.m_nLength - at, before->second.m_layers};
    for (CLayer& layer : tail.m_layers)
        layer.m_pBytes += at - start;
    before->second.m_nLength = at - start;
    return segments.emplace_hint(it, at, std::move(tail));
}

void CSourceFile::AddLayer(std::int64_t offset, const std::vector<std::uint8_t>& block) {
    const std::int64_t end = offset + static_cast<std::int64_t>(block.size());
    SplitAt(end);
    auto it = SplitAt(offset);
    auto& segments = m_handle->m_segments;
    std::int64_t at = offset;
    while (at < end) {
        if (it == segments.end() || it->first > at) {
            // A hole no version kept yet: a segment of this version's bytes alone.
            const std::int64_t holeEnd = it == segments.end() ? end : std::min(end, it->first);
            it = segments.emplace_hint(
                it, at, CSegment{holeEnd - at, {CLayer{m_nVersion, block.data() + (at - offset)}}});
        } else {
            it->second.m_layers.push_back(CLayer{m_nVersion, block.data() + (at - offset)});
        }
        at = it->first + it->second.m_nLength;
        ++it;
    }
}

int CSourceFile::KeepRange(std::int64_t offset, std::int64_t count) {
    // The gaps of [offset, offset + count) between ranges kept already: a save
    // that failed part-way has overwritten kept ranges, never the gaps.
    std::vector<std::pair<std::int64_t, std::int64_t>> gaps;
    const std::int64_t end = offset + count;
    std::int64_t at = offset;
    const auto& segments = m_handle->m_segments;
    auto it = segments.upper_bound(offset);
    if (it != segments.begin())
        --it;
    for (; it != segments.end() && it->first < end && at < end; ++it) {
        const std::int64_t segmentEnd = it->first + it->second.m_nLength;
        if (segmentEnd <= at || it->second.m_layers.back().m_nVersion != m_nVersion)
            continue;
        if (it->first > at)
            gaps.emplace_back(at, std::min(it->first, end));
        at = std::max(at, segmentEnd);
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
            if (const int err =
                    platform::ReadAt(Handle(), from + done, bytes.data() + done, n, &got))
                return err;
            if (got == 0)
                break; // past the end of the file: nothing there to keep
            done += got;
        }
        bytes.resize(static_cast<size_t>(done));
        if (!bytes.empty())
            read.emplace_back(from, std::move(bytes));
    }
    m_kept.reserve(m_kept.size() + read.size());
    for (auto& [from, bytes] : read) {
        // Moved in first: the layers point into the block where it stays.
        m_kept.emplace_back(from, std::move(bytes));
        AddLayer(from, m_kept.back().second);
    }
    return 0;
}
