#include "storage/CPieceFile64.h"

#include <gtest/gtest.h>

TEST(PieceFileNew, IsEmptyAndInsertFillsOneMemoryPiece) {
    CPieceFile64 file;
    EXPECT_EQ(file.GetLength(), 0);
    char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 0u);
    try {
        file.Write("x", 1);
        FAIL() << "write past the end must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
    }
    file.Insert(3, 0x41);
    EXPECT_EQ(file.GetLength(), 3);
    EXPECT_EQ(file.GetPieceCount(), 1);
    char buf[4] = {};
    file.Seek(0, CFile64::begin);
    EXPECT_EQ(file.Read(buf, 4), 3u);
    EXPECT_STREQ(buf, "AAA");
    EXPECT_EQ(file.CheckInvariants(), "");
}
