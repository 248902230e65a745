// A settings section in memory: values are binary or text, as QSettings
// hands them over, and writes are logged in order.
#pragma once

#include "display/SettingsSection.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

class CMemorySettings : public ISettingsSection {
public:
    std::map<std::string, std::variant<ByteVector, std::string>> m_values;
    std::vector<std::string> m_writeOrder;

    std::optional<ByteVector> ReadBinary(const std::string& name) override {
        auto it = m_values.find(name);
        if (it == m_values.end() || !std::holds_alternative<ByteVector>(it->second))
            return std::nullopt;
        return std::get<ByteVector>(it->second);
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        auto it = m_values.find(name);
        if (it == m_values.end() || !std::holds_alternative<std::string>(it->second))
            return std::nullopt;
        return std::get<std::string>(it->second);
    }
    void WriteBinary(const std::string& name, const ByteVector& bytes) override {
        m_values[name] = bytes;
        m_writeOrder.push_back(name);
    }
    void WriteInt(const std::string& name, std::int32_t value) override {
        m_values[name] = std::to_string(value);
        m_writeOrder.push_back(name);
    }
};
