// The printed line, the area inside the margins and how lines fall on pages.
#include "display/PrintLayout.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

namespace {

std::vector<unsigned char> Counting(int first, int count) {
    std::vector<unsigned char> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<unsigned char>(first + i));
    return bytes;
}

} // namespace

TEST(PrintLayout, LineCellsAddressPairsAndCharacters) {
    const std::vector<unsigned char> bytes = {'A', 0x00, 0x7F, 0xE9, 'z'};
    const std::string line = FormatPrintLine(0x15, 8, true, bytes.data(), 5, false);
    ASSERT_EQ(line.size(), 58U + 5);
    EXPECT_EQ(line.substr(0, 9), "00000015 ");
    EXPECT_EQ(line.substr(9, 15), "41 00 7F E9 7A ");
    EXPECT_EQ(line.find_first_not_of(' ', 24), 58U) << "missing pairs are blanks";
    EXPECT_EQ(line.substr(58), "A...z");

    EXPECT_EQ(FormatPrintLine(16, 8, false, bytes.data(), 1, false).substr(0, 8), "00000016");
    EXPECT_EQ(FormatPrintLine(0, 8, true, bytes.data(), 5, true).substr(58), "A.\x7F\xE9z")
        << "upper characters print as themselves, control codes never";

    const std::vector<unsigned char> full = Counting(0x30, 16);
    const std::string fullLine = FormatPrintLine(0, 8, true, full.data(), 16, false);
    EXPECT_EQ(fullLine.size(), 74U);
    EXPECT_EQ(fullLine.substr(54, 4), "3F  ") << "cell 57 stays blank";
    EXPECT_EQ(FormatPrintLine(0, 8, true, nullptr, 0, false),
              std::string("00000000") + std::string(50, ' '));
}

TEST(PrintLayout, AddressesWidenInsteadOfLosingDigits) {
    EXPECT_EQ(PrintAddressDigits(0xFFFFFFF0LL, true), 8);
    EXPECT_EQ(PrintAddressDigits(0x100000000LL, true), 9);
    EXPECT_EQ(PrintAddressDigits(99999999, false), 8);
    EXPECT_EQ(PrintAddressDigits(100000000, false), 9);
    EXPECT_EQ(PrintAddressDigits(INT64_MAX, false), 19);

    const unsigned char b = 0xAB;
    const std::string line = FormatPrintLine(0x123456789LL, 9, true, &b, 1, false);
    EXPECT_EQ(line.substr(0, 13), "123456789 AB ");
    EXPECT_EQ(line.size(), 9U + 50 + 1);
    EXPECT_EQ(line.back(), '.');

    // One width for the whole job, from its last line.
    const CPrintJobPlan plan(0xFFFFFF00LL, 0x200, 1000, 10, true);
    EXPECT_EQ(plan.AddressDigits(), 9);
    const CPrintJobPlan narrow(0, 0x100, 1000, 10, true);
    EXPECT_EQ(narrow.AddressDigits(), 8);
}

TEST(PrintLayout, SelectionLinesStopAtItsEnd) {
    // 20 bytes from offset 5: two lines, the second one 4 bytes long.
    const CPrintJobPlan plan(5, 20, 600, 10, true);
    EXPECT_EQ(plan.LineCount(), 2);
    EXPECT_EQ(plan.LineAddress(0), 5);
    EXPECT_EQ(plan.LineAddress(1), 0x15);
    EXPECT_EQ(plan.BytesOnLine(0), 16);
    EXPECT_EQ(plan.BytesOnLine(1), 4);

    const CPrintJobPlan empty(0, 0, 600, 10, true);
    EXPECT_EQ(empty.LineCount(), 1);
    EXPECT_EQ(empty.PageCount(), 1);
    EXPECT_EQ(empty.BytesOnLine(0), 0) << "an empty file prints a page without lines";
}

TEST(PrintLayout, PagesForLinesAndLinesPerPage) {
    struct Case {
        std::int64_t length;
        int areaHeight, lineHeight;
        int linesPerPage;
        std::int64_t pages;
        int linesOnLastPage;
    };
    const Case cases[] = {
        {16 * 60, 600, 10, 60, 1, 60},
        {16 * 60 + 1, 600, 10, 60, 2, 1},
        {16 * 61, 609, 10, 60, 2, 1},
        {1, 5, 10, 1, 1, 1},                 // less than a line: one line a page, never / 0
        {16 * 3, 0, 0, 1, 3, 1},             // no line height at all
        {16LL * 70000, 10, 10, 1, 70000, 1}, // beyond 16-bit page numbers
        {INT64_MAX, 100, 1, 100, (((INT64_MAX - 1) / 16 + 1) - 1) / 100 + 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const CPrintJobPlan plan(0, c.length, c.areaHeight, c.lineHeight, true);
        EXPECT_EQ(plan.LinesPerPage(), c.linesPerPage);
        EXPECT_EQ(plan.PageCount(), c.pages);
        if (c.linesOnLastPage > 0) {
            EXPECT_EQ(plan.LinesOnPage(plan.PageCount()), c.linesOnLastPage);
        }
        EXPECT_EQ(plan.LinesOnPage(plan.PageCount() + 1), 0);
        EXPECT_EQ(plan.FirstLine(plan.PageCount()), (plan.PageCount() - 1) * plan.LinesPerPage());
    }
}

TEST(PrintLayout, AreaInsideTheMarginsFromThePaperEdges) {
    // 600 dpi, letter paper, a printable area starting 1/6 inch in.
    const PrinterMetrics printer{600, 600, 5100, 6600, 100, 100};
    const PrintArea inch = PrintAreaFromMargins(printer, PrintMargins{});
    EXPECT_EQ(inch.left, 500);
    EXPECT_EQ(inch.top, 500);
    EXPECT_EQ(inch.right, 5100 - 100 - 600);
    EXPECT_EQ(inch.bottom, 6600 - 100 - 600);
    const PrintArea zero = PrintAreaFromMargins(printer, PrintMargins{0, 0, 0, 0});
    EXPECT_EQ(zero.left, -100) << "the paper's corner, outside the printable area";
    EXPECT_EQ(zero.top, -100);
    EXPECT_EQ(MulDivRound(300, 1, 1000), 0);
    EXPECT_EQ(MulDivRound(300, 2, 1000), 1) << "half rounds up";
    EXPECT_EQ(MulDivRound(-300, 2, 1000), -1) << "and away from zero";

    EXPECT_TRUE(MarginsLeaveALine(printer, PrintMargins{}, 100));
    // 10.8 inches of margins on 11 inch paper leave 120 device units.
    EXPECT_TRUE(MarginsLeaveALine(printer, PrintMargins{0, 5400, 0, 5400}, 120));
    EXPECT_FALSE(MarginsLeaveALine(printer, PrintMargins{0, 5400, 0, 5400}, 121));
    EXPECT_FALSE(MarginsLeaveALine(printer, PrintMargins{4250, 0, 4250, 0}, 100))
        << "no width left";
}

TEST(PrintLayout, FontShrinksToTheLargestSizeWhoseLineFits) {
    // Cell widths of real fonts are about 0.6 of the size, rounded either way
    // and sometimes jumping by more than one unit between sizes.
    const std::vector<std::function<int(int)>> fonts = {
        [](int size) { return (size * 6 + 5) / 10; },
        [](int size) { return (size * 6 + 9) / 10; },
        [](int size) { return size * 6 / 10 + (size % 7 == 0 ? 2 : 0); },
    };
    const int cells = PrintLineCells(8);
    EXPECT_EQ(cells, 74) << "address, blank, 16 pairs, blank, 16 characters";
    EXPECT_EQ(PrintLineCells(9), 75);
    for (size_t f = 0; f < fonts.size(); ++f) {
        const auto& widthAt = fonts[f];
        for (const int areaWidth : {0, 40, 500, 1234, 4800, 7200}) {
            for (int size = 1; size <= 250; ++size) {
                SCOPED_TRACE(testing::Message()
                             << "font " << f << " width " << areaWidth << " size " << size);
                const int fitted = FitPrintPixelSize(size, cells, areaWidth, widthAt);
                ASSERT_GE(fitted, 1);
                ASSERT_LE(fitted, size) << "never larger than asked";
                if (fitted > 1) {
                    ASSERT_LE(cells * widthAt(fitted), areaWidth) << "the line fits";
                }
                if (fitted < size) {
                    ASSERT_GT(cells * widthAt(fitted + 1), areaWidth) << "and no larger size does";
                }
            }
        }
    }
    // A job's address width is its last line's, as the plan has it.
    EXPECT_EQ(PrintJobAddressDigits(0xFFFFFF00LL, 0x200, true), 9);
    EXPECT_EQ(PrintJobAddressDigits(0, 0, false), 8);
}
