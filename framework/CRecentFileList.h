// The recent-file list: the last files opened or saved, newest first, kept in
// the profile section "Recent File List" as "File1" … "FileN".
#pragma once

#include <QString>
#include <QStringList>

class CRecentFileList {
public:
    explicit CRecentFileList(int size = 4) : m_nSize(size) {}

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    QString operator[](int index) const { return m_files.value(index); }
    const QStringList& Files() const { return m_files; }

    // Puts `path` first (moving it up when it is already listed).
    void Add(const QString& path);
    void Remove(int index);
    void Clear() { m_files.clear(); }

    // The menu text of entry `index`: "&1 name", with the folder left out when
    // it is the current one and a long path shortened in the middle.
    QString GetDisplayName(int index) const;

    void ReadList(const QString& organization, const QString& application);
    void WriteList(const QString& organization, const QString& application) const;

    static constexpr const char* kSection = "Recent File List";

private:
    int m_nSize;
    QStringList m_files;
};
