// Telling what another program did to a file the editor has open, from the
// identities of the open file and of its name alone: nothing is read, so
// checking costs two status calls however large the file.
#pragma once

#include "platform/OsFile.h"

enum class FileChange {
    None,
    Grown,          // longer than it was: appended to, or rewritten in place
    ChangedInPlace, // same file, same length, written since
    Shortened,      // the open file lost bytes at its end
    Replaced,       // the name now leads to another file (renamed over)
    Removed,        // the name leads nowhere
};

// `opened` is the open file as it was when last read whole (open, save,
// reload); `openNow` the same file now; `nameNow` whatever the name leads to
// now. A change to the open file itself is told before one of the name: it is
// the one that changes what the document shows.
FileChange ClassifyFileChange(const platform::FileIdentity& opened,
                              const platform::FileIdentity& openNow,
                              const platform::FileIdentity& nameNow);

// Whether the document can go on showing the version it opened: the open file
// is untouched, only the name went elsewhere.
inline bool KeepsOpenedVersion(FileChange change) {
    return change == FileChange::None || change == FileChange::Replaced ||
           change == FileChange::Removed;
}

// Remembers what the user was told, so one change is told once: the same
// state of file and name found again (by the watcher, then on activation)
// says nothing new, a further change does.
class CFileChangeTracker {
public:
    // The file was read whole, or saved: the baseline from now on.
    void Reset(const platform::FileIdentity& opened, const platform::FileIdentity& name);
    // The change since the baseline, whether told or not.
    FileChange Current(const platform::FileIdentity& openNow,
                       const platform::FileIdentity& nameNow) const;
    // The change to tell now: None when there is none, or when this very
    // state was told already.
    FileChange TakeNew(const platform::FileIdentity& openNow,
                       const platform::FileIdentity& nameNow);
    const platform::FileIdentity& Opened() const { return m_opened; }

private:
    platform::FileIdentity m_opened;
    platform::FileIdentity m_toldOpen;
    platform::FileIdentity m_toldName;
    bool m_bTold = false;
};
