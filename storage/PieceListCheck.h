// Debug and sanitizer builds check the piece list when every edit, undo, redo
// and save ends (normally or by an exception), so a test that breaks it stops
// where it breaks.
#pragma once

#include "storage/CPieceList.h"

#ifdef QUEXO_CHECK_PIECES
#include <cstdio>
#include <cstdlib>

class EditCheck {
public:
    explicit EditCheck(const CPieceList& list) : m_list(list) {}
    EditCheck(const EditCheck&) = delete;
    EditCheck& operator=(const EditCheck&) = delete;
    ~EditCheck() {
        const std::string fault = m_list.CheckInvariants();
        if (fault.empty())
            return;
        std::fprintf(stderr, "CPieceTable: broken piece list: %s\n", fault.c_str());
        std::abort();
    }

private:
    const CPieceList& m_list;
};
#else
struct EditCheck {
    explicit EditCheck(const CPieceList&) {}
};
#endif
