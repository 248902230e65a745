// A test with its own folder of files, and the sample contents tests open.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testfiles {

// The whole content of a file; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Creates or replaces a file holding `bytes`; false when it cannot be written.
inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testfiles

class TestFolderFixture : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    QString Write(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(testfiles::WriteAll(Path(name), bytes)) << name.toStdString();
        return Path(name);
    }

    static QByteArray Read(const QString& path) { return testfiles::ReadAll(path); }

    static QByteArray Binary() { return QByteArray("\x00\x01\x02 binary", 10); }
    static QByteArray Text() { return QByteArray("Bonjour,\r\nle monde.\r\n"); }

    QTemporaryDir m_dir;
};
