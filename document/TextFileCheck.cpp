#include "document/TextFileCheck.h"

#include "storage/CFile64.h"

#include <vector>

bool LooksLikeTextBytes(const std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = data[i];
        if (byte < 0x20 && byte != 0x09 && byte != 0x0A && byte != 0x0D)
            return false;
    }
    return true;
}

bool LooksLikeText(const std::string& path) {
    CFile64 file;
    CFileException error;
    if (!file.Open(path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite, &error))
        throw error;
    std::vector<std::uint8_t> sample(kTextSampleSize);
    const std::uint32_t got = file.Read(sample.data(), kTextSampleSize);
    file.Close();
    return got > 0 && LooksLikeTextBytes(sample.data(), got);
}

TextOpenDecision DecideTextOpen(int openTextMode) {
    switch (openTextMode) {
    case openAsText:
        return TextOpenDecision::HandOver;
    case openAsk:
        return TextOpenDecision::Ask;
    default:
        return TextOpenDecision::OpenInHex;
    }
}
