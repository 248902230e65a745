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

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN // keeps out names such as `byte` that tests use
#endif
#include <windows.h>
#include <winioctl.h>
#undef ReplaceFile // a macro for ReplaceFileA/W; ours is platform::ReplaceFile
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

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
        std::random_device seed;
        std::mt19937_64 rng((std::uint64_t(seed()) << 32) ^ seed());
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto path = std::filesystem::temp_directory_path() /
                              ("quexo-" + std::to_string(rng() % 1000000007));
            std::error_code error;
            if (std::filesystem::create_directory(path, error))
                m_path = path.string();
        }
        if (m_path.empty())
            throw std::runtime_error("no scratch folder");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const {
        return (std::filesystem::path(m_path) / name).make_preferred().string();
    }
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
    { std::ofstream create(path, std::ios::binary | std::ios::trunc); }
#ifdef _WIN32
    // NTFS leaves a plain file's unwritten ranges allocated; mark it sparse first.
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    DWORD ignored = 0;
    if (handle != INVALID_HANDLE_VALUE) {
        ::DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        ::CloseHandle(handle);
    }
#endif
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(length));
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    for (const auto& [offset, bytes] : islands) {
        out.seekp(offset);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    ASSERT_TRUE(out.good()) << path;
}

inline Bytes ReadFileAt(const std::string& path, std::int64_t offset, size_t count) {
    Bytes bytes(count);
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(in.gcount() < 0 ? 0 : static_cast<size_t>(in.gcount()));
    return bytes;
}

// The identity of the file a name leads to (0 when none): the inode here, the
// file index on Windows. A save in place keeps it, a rewrite changes it.
inline std::uint64_t InodeOf(const std::string& path) {
#ifdef _WIN32
    const HANDLE handle =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    return ok ? (std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow) : 0;
#else
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
#endif
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
