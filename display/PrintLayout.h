// The printed hex dump without a printer: the text of one printed line, the
// printable rectangle from the margins, and how the lines of a job fall on
// pages. A job prints 16 bytes a line, aligned to its first byte (the start of
// the selection when a selection is printed), and nothing but the lines.
#pragma once

#include "display/DisplaySettings.h"

#include <cstdint>
#include <functional>
#include <string>

inline constexpr int kPrintBytesPerLine = 16;
inline constexpr int kPrintAddressDigits = 8;

// The display code printed for byte b: '.' below 0x20, and for 0x7F and above
// unless upperChars; otherwise the byte itself. The view's character set does
// not apply: printed characters are always ASCII. Codes are drawn through the
// grid's code page (DisplayCodeToUnicode), so 0x80-0x9F print as on screen.
unsigned char PrintChar(unsigned char b, bool upperChars);

// The address width of a job: 8 digits, or as many as its widest address
// (`lastAddress`, the last line's) needs, so no digit is ever cut.
int PrintAddressDigits(std::int64_t lastAddress, bool hexAddress);

// The address width of a job printing `length` bytes from `start`: that of its
// last line.
int PrintJobAddressDigits(std::int64_t start, std::int64_t length, bool hexAddress);

// Cells of a full printed line: address, blank, 16 pairs, blank, 16 characters.
int PrintLineCells(int addressDigits);

// The largest font pixel size, at most `pixelSize` (and at least 1), at which
// `cells` cells of `cellWidthAt(size)` device units fit in `areaWidth`: a
// printed line is never cut at the right margin, a font too large for the
// paper is made smaller instead.
int FitPrintPixelSize(int pixelSize, int cells, int areaWidth,
                      const std::function<int(int)>& cellWidthAt);

// One printed line of `count` (0 … 16) bytes: the address zero-padded to
// `digits`, a blank, the pair of byte j at cells digits+1+3j, and its character
// at cell digits+50+j (58+j with 8 digits). The line is digits+50+count cells
// long; the pairs of missing bytes are blanks.
std::string FormatPrintLine(std::int64_t address, int digits, bool hexAddress,
                            const unsigned char* bytes, int count, bool upperChars);

// a × b / c rounded to the nearest, without overflow for device values.
int MulDivRound(int a, int b, int c);

// What a printer reports, in device units: resolution, paper size and the
// offset of its printable area from the paper's corner.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int paperWidth = 0;
    int paperHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
};

// The rectangle inside the margins, relative to the printable area (so a zero
// margin starts at the paper's corner, partly outside what the printer marks).
struct PrintArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
PrintArea PrintAreaFromMargins(const PrinterMetrics& metrics, const PrintMargins& margins);

// Whether margins leave room for at least one line of `lineHeight` device
// units (and some width) on the paper.
bool MarginsLeaveALine(const PrinterMetrics& metrics, const PrintMargins& margins, int lineHeight);

// The lines of one job and how they fall on pages. Counts are 64-bit, so no
// page or line limit comes from here.
class CPrintJobPlan {
public:
    // Prints `length` bytes from `start`; `areaHeight` and `lineHeight` in
    // device units. Less than one line per page still prints one line a page.
    CPrintJobPlan(std::int64_t start, std::int64_t length, int areaHeight, int lineHeight,
                  bool hexAddress);

    std::int64_t Start() const { return m_nStart; }
    std::int64_t Length() const { return m_nLength; }
    // (length − 1) / 16 + 1: an empty job still has one (empty) line.
    std::int64_t LineCount() const { return m_nLineCount; }
    int LinesPerPage() const { return m_nLinesPerPage; }
    std::int64_t PageCount() const;
    int AddressDigits() const { return m_nAddressDigits; }

    // The lines of page `page` (from 1): the first line's index and how many
    // lines the page holds (fewer on the last page, 0 past the end).
    std::int64_t FirstLine(std::int64_t page) const;
    int LinesOnPage(std::int64_t page) const;
    // Address and byte count of line `line`: never past the job's end, so the
    // last line of a selection is short.
    std::int64_t LineAddress(std::int64_t line) const {
        return m_nStart + line * kPrintBytesPerLine;
    }
    int BytesOnLine(std::int64_t line) const;

private:
    std::int64_t m_nStart;
    std::int64_t m_nLength;
    std::int64_t m_nLineCount;
    int m_nLinesPerPage;
    int m_nAddressDigits;
};
