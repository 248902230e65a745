#include "display/ProfileSection.h"

#include "framework/CWinApp.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>

CProfileSection::CProfileSection(const QString& section) : m_strSection(section) {
    if (CWinApp* app = AfxGetApp()) {
        m_strOrganization = app->GetRegistryKey();
        m_strApplication = app->GetAppName();
        m_bValid = true;
    }
}

QString CProfileSection::Key(const std::string& name) const {
    return m_strSection + QLatin1Char('/') + QString::fromStdString(name);
}

std::optional<ByteVector> CProfileSection::ReadBinary(const std::string& name) {
    if (!m_bValid)
        return std::nullopt;
    const QVariant value = QSettings(m_strOrganization, m_strApplication).value(Key(name));
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return ByteVector(bytes.begin(), bytes.end());
}

std::optional<std::string> CProfileSection::ReadText(const std::string& name) {
    if (!m_bValid)
        return std::nullopt;
    const QVariant value = QSettings(m_strOrganization, m_strApplication).value(Key(name));
    // Binary values and lists are not integers in any form.
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray ||
        value.typeId() == QMetaType::QStringList || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString().toStdString();
}

void CProfileSection::WriteBinary(const std::string& name, const ByteVector& bytes) {
    if (!m_bValid)
        return;
    QSettings(m_strOrganization, m_strApplication)
        .setValue(Key(name), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size())));
}

void CProfileSection::WriteInt(const std::string& name, std::int32_t value) {
    if (!m_bValid)
        return;
    QSettings(m_strOrganization, m_strApplication).setValue(Key(name), value);
}
