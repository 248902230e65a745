#include "document/TypingRun.h"

bool CTypingRun::Continues(const void* typist, std::int64_t offset, std::uint64_t state) const {
    return IsOf(typist) && state == m_nState && (offset == m_nOffset || offset == m_nOffset + 1);
}

void CTypingRun::Typed(std::uint64_t group, const void* typist, std::int64_t offset,
                       std::uint64_t state) {
    if (group == 0) {
        End();
        return;
    }
    m_nGroup = group;
    m_pTypist = typist;
    m_nOffset = offset;
    m_nState = state;
    m_bInKeystroke = true;
}

void CTypingRun::KeystrokeDone(const void* typist, CEditPlace place) {
    if (!IsOf(typist))
        return;
    m_bInKeystroke = false;
    m_placeAfter = place;
}

void CTypingRun::CaretAt(const void* typist, CEditPlace place) {
    if (!IsOf(typist) || m_bInKeystroke)
        return;
    if (place.caret != m_placeAfter.caret || place.anchor != m_placeAfter.anchor)
        End();
}
