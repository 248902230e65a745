// A test with its own folder of files, and the sample contents tests open.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TestFolderFixture : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    QString Write(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QByteArray Binary() { return QByteArray("\x00\x01\x02 binary", 10); }
    static QByteArray Text() { return QByteArray("Bonjour,\r\nle monde.\r\n"); }

    QTemporaryDir m_dir;
};
