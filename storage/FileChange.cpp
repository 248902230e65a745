#include "storage/FileChange.h"

using platform::FileIdentity;

FileChange ClassifyFileChange(const FileIdentity& opened, const FileIdentity& openNow,
                              const FileIdentity& nameNow) {
    if (!opened.m_bValid)
        return FileChange::None; // nothing known to compare with (a new document)
    if (!openNow.m_bValid)
        return FileChange::ChangedInPlace; // the open file cannot be asked: assume the worst
    if (openNow.m_nSize < opened.m_nSize)
        return FileChange::Shortened;
    if (openNow.m_nSize > opened.m_nSize)
        return FileChange::Grown;
    if (openNow.m_nWriteTime != opened.m_nWriteTime)
        return FileChange::ChangedInPlace;
    if (!nameNow.m_bValid)
        return FileChange::Removed;
    if (!nameNow.SameFile(openNow))
        return FileChange::Replaced;
    return FileChange::None;
}

void CFileChangeTracker::Reset(const FileIdentity& opened, const FileIdentity& name) {
    m_opened = opened;
    m_toldOpen = opened;
    m_toldName = name;
    m_bTold = false;
}

FileChange CFileChangeTracker::Current(const FileIdentity& openNow,
                                       const FileIdentity& nameNow) const {
    return ClassifyFileChange(m_opened, openNow, nameNow);
}

FileChange CFileChangeTracker::TakeNew(const FileIdentity& openNow, const FileIdentity& nameNow) {
    const FileChange change = Current(openNow, nameNow);
    if (change == FileChange::None)
        return change;
    // Only what the verdict rests on counts: a file renamed over again keeps
    // "replaced" but is a new state worth telling.
    if (m_bTold && openNow == m_toldOpen && nameNow == m_toldName)
        return FileChange::None;
    m_bTold = true;
    m_toldOpen = openNow;
    m_toldName = nameNow;
    return change;
}
