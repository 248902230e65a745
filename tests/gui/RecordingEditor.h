// A stand-in for the desktop's text editor: a script registered in the private
// XDG folders as the default application for text/plain, which writes the path
// it was given into a file the test then reads.
#pragma once

#include "TestFolderFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

namespace testing_support {

// Installs the recording editor with its files in `folder`; returns the name of
// the file it will write.
inline QString InstallRecordingEditor(const QString& folder) {
    const QString record = folder + QStringLiteral("/editor-received");
    const QString script = folder + QStringLiteral("/record-editor.sh");
    QFile out(script);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1.part' && mv '%1.part' '%1'\n")
                  .arg(record)
                  .toUtf8());
    out.close();
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    QDir().mkpath(applications);
    QFile entry(applications + "/qx-recorder.desktop");
    EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Recorder\n"
                               "Exec=\"%1\" %f\nMimeType=text/plain;\n")
                    .arg(script)
                    .toUtf8());
    entry.close();
    QFile list(qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list");
    EXPECT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/plain=qx-recorder.desktop\n");
    return record;
}

// What the recording editor received, once it has run (empty on timeout).
inline QString WaitForRecord(const QString& record) {
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(record) && !deadline.hasExpired())
        QTest::qWait(20);
    return QString::fromUtf8(testfiles::ReadAll(record));
}

} // namespace testing_support
