// What a document tells its views changed (CDocument::UpdateAllViews). The
// hints are bits; kHintAll asks for everything.
#pragma once

#include "document/ByteRange.h"

#include <QObject>

inline constexpr long kHintAll = 0;
// The content's bytes or length changed, or the document has another file.
inline constexpr long kHintContentChanged = 1;
// The display settings (font, address base, columns, ...) changed.
inline constexpr long kHintSettingsChanged = 2;

// Sent with kHintContentChanged by every edit: the bytes that changed. When
// the length changed, everything after the range moved as well.
class CContentChangeHint : public QObject {
public:
    CContentChangeHint(CByteRange changed, bool lengthChanged)
        : m_changed(changed), m_bLengthChanged(lengthChanged) {}

    CByteRange Changed() const { return m_changed; }
    bool LengthChanged() const { return m_bLengthChanged; }

private:
    CByteRange m_changed;
    bool m_bLengthChanged;
};
