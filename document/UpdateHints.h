// What a document tells its views changed (CDocument::UpdateAllViews). The
// hints are bits; kHintAll asks for everything.
#pragma once

#include "document/ByteRange.h"
#include "storage/ContentChange.h"

#include <QObject>

inline constexpr long kHintAll = 0;
// The content's bytes or length changed, or the document has another file.
inline constexpr long kHintContentChanged = 1;
// The display settings (font, address base, columns, ...) changed.
inline constexpr long kHintSettingsChanged = 2;

// Sent with kHintContentChanged by every edit, undo and redo: what changed,
// in order. When a change alters the length, everything after it moved.
class CContentChangeHint : public QObject {
public:
    explicit CContentChangeHint(CContentChanges changes) : m_changes(std::move(changes)) {}

    const CContentChanges& Changes() const { return m_changes; }
    // The bytes touched, in the offsets after the changes.
    CByteRange Changed() const {
        if (m_changes.empty())
            return {};
        CContentChange all = m_changes.front();
        for (size_t i = 1; i < m_changes.size(); ++i)
            all = CContentChange::Covering(all, m_changes[i]);
        return {all.m_nOffset, std::max(all.m_nInserted, all.m_nRemoved)};
    }
    bool LengthChanged() const {
        std::int64_t delta = 0;
        bool moved = false;
        for (const CContentChange& change : m_changes) {
            moved = moved || change.ChangesLength();
            delta += change.Delta();
        }
        return moved || delta != 0;
    }

private:
    CContentChanges m_changes;
};
