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

template <typename Visit> void ForEachFilePiece(const CHistoryStep& step, Visit visit) {
    for (const CHistoryEntry& entry : step.m_entries) {
        for (const CPiece* piece : entry.m_other.m_pieces)
            if (piece->m_bFromFile)
                visit(*piece);
        if (entry.m_swap)
            for (const CPiece* piece : entry.m_swap->m_pieces)
                if (piece->m_bFromFile)
                    visit(*piece);
    }
}

bool Needs(const CHistoryStep& step, std::uint64_t serial) {
    bool needs = false;
    ForEachFilePiece(step, [&](const CPiece& piece) {
        needs = needs || piece.m_source->FileSerial() == serial;
    });
    return needs;
}

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
            for (const CPiece* piece : m_pieces)
                if (piece->m_bFromFile)
                    note(*piece, true);
            ForEachFilePiece(m_history->m_open, [&](const CPiece& piece) { note(piece, true); });
            for (const auto* stack : {&m_history->m_undo, &m_history->m_redo})
                for (const CHistoryStep& step : *stack)
                    ForEachFilePiece(step, [&](const CPiece& piece) { note(piece, false); });

            std::int64_t held = 0;
            for (const auto& [serial, use] : files) {
                std::int64_t length = 0;
                if (platform::GetFileLength(use.m_handle, &length) == 0)
                    held += length;
            }
            if (held <= kReplacedFilesBound * m_nTotalLength)
                return;
            // The oldest file the shown list and the open step can do without.
            auto oldest = files.begin();
            while (oldest != files.end() && oldest->second.m_bPinned)
                ++oldest;
            if (oldest == files.end() || !DropStepsNeeding(oldest->first))
                return;
            m_bDroppedSteps = true;
        }
    } catch (const std::bad_alloc&) {
        // The save itself succeeded; the files stay until the next one.
    }
}

bool CPieceTable::DropStepsNeeding(std::uint64_t serial) {
    CPieceHistory& history = *m_history;
    // Undo: the steps up to the newest that needs the file, since each one
    // above was recorded on what those left. The plain save points then left
    // at the bottom are never crossed again.
    size_t undoCut = 0;
    for (size_t i = 0; i < history.m_undo.size(); ++i)
        if (Needs(history.m_undo[i], serial))
            undoCut = i + 1;
    while (undoCut > 0 && undoCut < history.m_undo.size() && history.m_undo[undoCut].m_bSavePoint &&
           !history.m_undo[undoCut].m_bReturn)
        ++undoCut;
    // Redo: the steps from the farthest one down to the last that needs it.
    size_t redoCut = 0;
    for (size_t i = 0; i < history.m_redo.size(); ++i)
        if (Needs(history.m_redo[i], serial))
            redoCut = i + 1;
    if (undoCut == 0 && redoCut == 0)
        return false;

    // The content the remaining steps start from is the one the last dropped
    // step left, so it keeps that step's id (and with it the saved flag).
    for (size_t i = 0; i < undoCut; ++i)
        if (!history.m_undo[i].m_bSavePoint)
            m_nBaseState = history.m_undo[i].m_nId;
    const auto realSteps = [](const std::vector<CHistoryStep>& steps) {
        int count = 0;
        for (const CHistoryStep& step : steps)
            count += step.m_bSavePoint ? 0 : 1;
        return count;
    };
    history.m_undo.erase(history.m_undo.begin(),
                         history.m_undo.begin() + static_cast<std::ptrdiff_t>(undoCut));
    history.m_redo.erase(history.m_redo.begin(),
                         history.m_redo.begin() + static_cast<std::ptrdiff_t>(redoCut));
    history.m_nUndoSteps = realSteps(history.m_undo);
    history.m_nRedoSteps = realSteps(history.m_redo);
    return true;
}
