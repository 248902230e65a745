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

// The letters at both ends of the alphabet fold; '@' and '[' (just outside the
// capitals) and '`' and '{' (just outside the small letters) are one bit apart
// from each other just as a letter is from its other case, yet never fold.
// Each pair is searched as the pattern's end (the 16-byte candidate test) and
// as its middle (the byte-wise compare), in a block long enough for the wide
// steps and in one too short for them, forwards and backwards.
TEST(ByteSearch, CaseFoldingStopsExactlyAtTheEndsOfTheAlphabet) {
    struct Case {
        char pattern;
        char data;
        bool found;
    };
    const Case cases[] = {
        {'Z', 'z', true},  {'z', 'Z', true},  {'A', 'a', true},  {'a', 'A', true},
        {'M', 'm', true},  {'Z', 'Z', true},  {'z', 'z', true},  {'@', '@', true},
        {'@', '`', false}, {'`', '@', false}, {'[', '{', false}, {'{', '[', false},
        {'Z', '[', false}, {'z', '{', false}, {'A', '@', false}, {'a', '`', false},
    };
    for (const Case& c : cases) {
        for (const std::string& shape : {std::string(1, '?'), std::string("-?-")}) {
            for (size_t size : {shape.size(), size_t{70}}) {
                std::string pattern = shape;
                pattern[pattern.size() / 2] = c.pattern;
                std::string data(size, '.');
                const size_t at = (size - shape.size()) / 2;
                data.replace(at, shape.size(), pattern);
                data[at + shape.size() / 2] = c.data;
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
                const size_t expected = c.found ? at : CByteSearch::npos;
                const CByteSearch search(pattern, false);
                EXPECT_EQ(search.FindFirst(bytes, size), expected)
                    << "'" << c.pattern << "' in '" << c.data << "', pattern " << pattern << ", "
                    << size << " bytes";
                EXPECT_EQ(search.FindLast(bytes, size), expected)
                    << "'" << c.pattern << "' in '" << c.data << "', pattern " << pattern << ", "
                    << size << " bytes";
            }
        }
    }
}
