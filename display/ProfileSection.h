// A section of the application's settings profile seen as an ISettingsSection,
// so the Qt-free rules for stored values work on the real profile.
#pragma once

#include "display/SettingsSection.h"

#include <QString>

class CProfileSection : public ISettingsSection {
public:
    // The section of AfxGetApp()'s profile; without an application object every
    // value reads as absent and writes go nowhere.
    explicit CProfileSection(const QString& section = QStringLiteral("Settings"));

    std::optional<ByteVector> ReadBinary(const std::string& name) override;
    std::optional<std::string> ReadText(const std::string& name) override;
    void WriteBinary(const std::string& name, const ByteVector& bytes) override;
    void WriteInt(const std::string& name, std::int32_t value) override;

private:
    QString Key(const std::string& name) const;

    QString m_strSection;
    QString m_strOrganization;
    QString m_strApplication;
    bool m_bValid = false;
};
