// Helpers shared by the storage tests: scratch folders, file contents, expected
// file errors and fault injection.
#pragma once

#include "platform/FaultInjection.h"
#include "storage/CFileException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage_test {

using Bytes = std::vector<std::uint8_t>;

// Sanitizer builds run the long randomised sequences shorter.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kOpScale = 10;
#else
inline constexpr int kOpScale = 1;
#endif

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quexo-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

inline Bytes RandomBytes(std::uint64_t seed, size_t count) {
    std::mt19937_64 rng(seed);
    Bytes bytes(count);
    for (size_t i = 0; i < count; i += 8) {
        const std::uint64_t word = rng();
        for (size_t k = 0; k < 8 && i + k < count; ++k)
            bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
    return bytes;
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// The whole content of a file; empty when it cannot be read.
inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// A sparse file of `length` bytes, zeros except `islands` (offset, bytes).
inline void MakeSparseFile(const std::string& path, std::int64_t length,
                           const std::vector<std::pair<std::int64_t, Bytes>>& islands = {}) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, length), 0);
    for (const auto& [offset, bytes] : islands)
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset),
                  static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

inline Bytes ReadFileAt(const std::string& path, std::int64_t offset, size_t count) {
    Bytes bytes(count);
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = fd < 0 ? -1 : ::pread(fd, bytes.data(), count, offset);
    if (fd >= 0)
        ::close(fd);
    bytes.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return bytes;
}

inline ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Runs `action`, which must raise a CFileException; returns it.
template <class Action> CFileException CatchFileError(Action&& action) {
    try {
        action();
    } catch (const CFileException& e) {
        return e;
    }
    ADD_FAILURE() << "no CFileException was raised";
    return CFileException(CFileException::none, 0);
}

// Installs a fault injector for the life of the object.
class ScopedFaults : public platform::FaultInjector {
public:
    using Rule = std::function<int(platform::FileOp, const std::string&, std::int64_t*)>;
    explicit ScopedFaults(Rule rule) : m_rule(std::move(rule)) {
        m_previous = platform::SetFaultInjector(this);
    }
    ~ScopedFaults() override { platform::SetFaultInjector(m_previous); }
    int Before(platform::FileOp op, const std::string& name, std::int64_t* count) override {
        return m_rule(op, name, count);
    }

private:
    Rule m_rule;
    platform::FaultInjector* m_previous = nullptr;
};

inline bool IsTempName(const std::string& name) {
    const std::string base = std::filesystem::path(name).filename().string();
    return base.rfind("qxo", 0) == 0 && base.size() > 4 && base.substr(base.size() - 4) == ".tmp";
}

} // namespace storage_test
