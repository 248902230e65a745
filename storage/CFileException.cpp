#include "storage/CFileException.h"

#include "platform/OsFile.h"
#include "resources/StringTable.h"

namespace {
constexpr unsigned kFirstCauseText = 61856;
constexpr unsigned kUntitledLower = 61446;
} // namespace

std::string CFileException::GetErrorMessage() const {
    int cause = m_cause;
    if (cause < none || cause > lastCause)
        cause = genericException;
    const std::string name =
        m_strFileName.empty() ? std::string(res::LoadString(kUntitledLower)) : m_strFileName;
    return res::FormatArgs(res::LoadString(kFirstCauseText + static_cast<unsigned>(cause)), {name});
}

const char* CFileException::what() const noexcept {
    try {
        m_what = GetErrorMessage();
        return m_what.c_str();
    } catch (...) {
        return "CFileException";
    }
}

int CFileException::OsErrorToCause(long osError) {
    return platform::CauseFromOsError(static_cast<int>(osError));
}

void CFileException::ThrowOsError(long osError, const std::string& fileName) {
    if (osError == 0)
        return;
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}
