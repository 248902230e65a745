#include "storage/ByteSearch.h"

#include <gtest/gtest.h>

#include <random>

namespace {

bool Equal(std::uint8_t a, std::uint8_t b, bool matchCase) {
    if (a == b)
        return true;
    if (matchCase)
        return false;
    const auto lower = [](std::uint8_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return lower(a) == lower(b);
}

size_t Naive(const std::string& data, const std::string& pattern, bool matchCase, bool last) {
    size_t found = CByteSearch::npos;
    for (size_t s = 0; s + pattern.size() <= data.size(); ++s) {
        bool match = true;
        for (size_t k = 0; k < pattern.size() && match; ++k)
            match = Equal(static_cast<std::uint8_t>(data[s + k]),
                          static_cast<std::uint8_t>(pattern[k]), matchCase);
        if (match) {
            found = s;
            if (!last)
                break;
        }
    }
    return found;
}

} // namespace

// Every pattern length against every data length over a four-letter alphabet,
// so matches sit at every offset relative to the 16-byte steps.
TEST(ByteSearch, AgreesWithNaiveSearchAtEveryAlignment) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', 'A', 'b', '\xE1'};
    for (size_t len = 1; len <= 24; ++len) {
        for (size_t size = 0; size <= 80; ++size) {
            for (int round = 0; round < 4; ++round) {
                std::string data(size, 'a');
                for (char& c : data)
                    c = alphabet[rng() % (round < 2 ? 2 : 4)];
                std::string pattern(len, 'a');
                for (char& c : pattern)
                    c = alphabet[rng() % (round % 2 ? 2 : 4)];
                for (bool matchCase : {true, false}) {
                    const CByteSearch search(pattern, matchCase);
                    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
                    ASSERT_EQ(search.FindFirst(bytes, size), Naive(data, pattern, matchCase, false))
                        << data << " / " << pattern << " case " << matchCase;
                    ASSERT_EQ(search.FindLast(bytes, size), Naive(data, pattern, matchCase, true))
                        << data << " / " << pattern << " case " << matchCase;
                }
            }
        }
    }
}

TEST(ByteSearch, FoldsAsciiLettersOnly) {
    const std::string data = "[{@`\xC1\xE1 abc ABC aBc";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    EXPECT_EQ(CByteSearch("{", false).FindFirst(bytes, data.size()), 1u);    // '[' is not '{'
    EXPECT_EQ(CByteSearch("`", false).FindFirst(bytes, data.size()), 3u);    // '@' is not '`'
    EXPECT_EQ(CByteSearch("\xE1", false).FindFirst(bytes, data.size()), 5u); // nor Latin-1 letters
    EXPECT_EQ(CByteSearch("abc", false).FindFirst(bytes, data.size()), 7u);
    EXPECT_EQ(CByteSearch("abc", false).FindLast(bytes, data.size()), 15u);
    EXPECT_EQ(CByteSearch("ABC", true).FindLast(bytes, data.size()), 11u);
    EXPECT_EQ(CByteSearch("abC", true).FindFirst(bytes, data.size()), CByteSearch::npos);
}
