// The typing-run rule: bytes typed by one view at consecutive offsets (or
// again at the same one, the second hex digit) are one undo step. Another
// edit, undo, redo, a save, or that view's caret going anywhere but where its
// last keystroke left it ends the run. The document keeps one of these; the
// view only reports keystrokes and caret moves.
#pragma once

#include "document/EditPlace.h"

#include <cstdint>

class CTypingRun {
public:
    // Whether a byte typed by `typist` at `offset`, on the content state
    // `state` (the piece table's state id), joins the run.
    bool Continues(const void* typist, std::int64_t offset, std::uint64_t state) const;
    // A keystroke of `typist` wrote at `offset` as part of the undo group
    // `group`, leaving the content at `state`. Until KeystrokeDone the caret
    // moves of `typist` are the keystroke's own.
    void Typed(std::uint64_t group, const void* typist, std::int64_t offset, std::uint64_t state);
    // The keystroke is over: the caret of `typist` stands at `place`.
    void KeystrokeDone(const void* typist, CEditPlace place);
    // The caret of `typist` now stands at `place`; anywhere else than the last
    // keystroke left it ends the run.
    void CaretAt(const void* typist, CEditPlace place);
    void End() { *this = CTypingRun(); }

    // The undo group the run's bytes belong to; 0 when no run is open.
    std::uint64_t Group() const { return m_nGroup; }
    bool IsOf(const void* typist) const { return m_nGroup != 0 && m_pTypist == typist; }

private:
    std::uint64_t m_nGroup = 0;
    const void* m_pTypist = nullptr;
    std::int64_t m_nOffset = 0; // of the last byte typed
    std::uint64_t m_nState = 0; // the content it left
    bool m_bInKeystroke = false;
    CEditPlace m_placeAfter;
};
