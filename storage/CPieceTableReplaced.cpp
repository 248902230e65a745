// The files rewrites replaced, kept open for undo, and the bound on the disk
// they hold. A replaced file is deleted from its folder but stays on disk for
// as long as a step of the history reads it; the oldest go first, with the
// steps that need them.
#include "storage/CPieceHistory.h"
#include "storage/CPieceTable.h"

#include <map>

namespace {
struct CFileUse {
    platform::FileHandle m_handle;
    bool m_bPinned; // read by the list shown or by the step being recorded
};
} // namespace

void CPieceTable::BoundReplacedFiles() {
    if (!m_history)
        return;
    try {
        for (;;) {
            // Every file other than the saved one that something still reads.
            const std::uint64_t saved = m_source->FileSerial();
            std::map<std::uint64_t, CFileUse> files;
            const auto note = [&](const CPiece& piece, bool pinned) {
                const std::uint64_t serial = piece.m_source->FileSerial();
                if (serial == saved)
                    return;
                auto [it, added] =
                    files.emplace(serial, CFileUse{piece.m_source->Handle(), pinned});
                it->second.m_bPinned = it->second.m_bPinned || pinned;
            };
            for (const CPiece* piece : m_list.m_pieces)
                if (piece->m_bFromFile)
                    note(*piece, true);
            m_history->ForEachHeldFilePiece(note);

            std::int64_t held = 0;
            for (const auto& [serial, use] : files) {
                std::int64_t length = 0;
                if (platform::GetFileLength(use.m_handle, &length) == 0)
                    held += length;
            }
            if (held <= kReplacedFilesBound * m_list.m_nLength)
                return;
            // The oldest file the shown list and the open step can do without.
            auto oldest = files.begin();
            while (oldest != files.end() && oldest->second.m_bPinned)
                ++oldest;
            if (oldest == files.end() || !m_history->DropStepsNeeding(oldest->first, &m_nBaseState))
                return;
            m_bDroppedSteps = true;
        }
    } catch (const std::bad_alloc&) {
        // The save itself succeeded; the files stay until the next one.
    }
}
