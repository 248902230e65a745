#include "document/TextFileCheck.h"

#include "StorageTestSupport.h"

#include "storage/CFile64.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

class TextFileCheck : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = m_dir.File("f" + std::to_string(m_nFiles++));
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    storage_test::TempDir m_dir;
    int m_nFiles = 0;
};

} // namespace

TEST_F(TextFileCheck, PlainAndLatin1TextLookLikeText) {
    EXPECT_TRUE(LooksLikeText(Write("line one\r\nline two\r\n\tindented\n")));
    EXPECT_TRUE(LooksLikeText(Write("caf\xE9 d\xE9j\xE0 \x7F\xFF")));
}

TEST_F(TextFileCheck, EmptyFileIsNotText) {
    EXPECT_FALSE(LooksLikeText(Write("")));
}

TEST_F(TextFileCheck, ControlBytesMakeItBinary) {
    for (const char control : {'\0', '\x01', '\x08', '\x0B', '\x0C', '\x0E', '\x1B', '\x1F'}) {
        std::string bytes = "text before ";
        bytes += control;
        bytes += " and after";
        EXPECT_FALSE(LooksLikeText(Write(bytes))) << "byte " << int(control);
    }
}

TEST_F(TextFileCheck, OnlyTheFirst8192BytesCount) {
    std::string bytes(kTextSampleSize, 'a');
    bytes[kTextSampleSize - 1] = '\0';
    EXPECT_FALSE(LooksLikeText(Write(bytes))) << "a NUL at the last sampled byte counts";
    bytes[kTextSampleSize - 1] = 'a';
    bytes += std::string(100, '\0');
    EXPECT_TRUE(LooksLikeText(Write(bytes))) << "a NUL at offset 8192 or later does not";
}

TEST_F(TextFileCheck, UnreadableFileRaisesItsCause) {
    try {
        LooksLikeText(m_dir.File("missing"));
        FAIL() << "a missing file must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
}

TEST_F(TextFileCheck, FileHeldForWritingRaisesSharingViolation) {
    const std::string path = Write("some text");
    CFile64 holder;
    ASSERT_TRUE(holder.Open(path.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite));
    try {
        LooksLikeText(path);
        FAIL() << "a file held deny-write for writing must not be sampled";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
    }
}

TEST(TextOpenDecision, ModeValues) {
    EXPECT_EQ(DecideTextOpen(0), TextOpenDecision::HandOver);
    EXPECT_EQ(DecideTextOpen(2), TextOpenDecision::Ask);
    for (int mode : {1, 3, -1, 42})
        EXPECT_EQ(DecideTextOpen(mode), TextOpenDecision::OpenInHex) << mode;
}
