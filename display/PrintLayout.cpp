#include "display/PrintLayout.h"

#include "storage/Digits.h"

#include <algorithm>
#include <cstdint>

namespace {

// A printed line: the address, one blank, each byte's pair and its blank, one
// more blank, then the characters.
constexpr int kAddressGap = 1;
constexpr int kCellsPerPair = 3;
// Cells between the address field's end and the first character (50).
constexpr int kCharColumnOffset = kAddressGap + kCellsPerPair * kPrintBytesPerLine + 1;

} // namespace

unsigned char PrintChar(unsigned char b, bool upperChars) {
    if (b < 0x20 || (b >= 0x7F && !upperChars))
        return '.';
    return b;
}

int PrintAddressDigits(std::int64_t lastAddress, bool hexAddress) {
    return AddressDigits(lastAddress, hexAddress, kPrintAddressDigits);
}

int PrintJobAddressDigits(std::int64_t start, std::int64_t length, bool hexAddress) {
    start = std::max<std::int64_t>(start, 0);
    length = std::max<std::int64_t>(length, 0);
    const std::int64_t lastLine = (length - 1) / kPrintBytesPerLine;
    return PrintAddressDigits(start + lastLine * kPrintBytesPerLine, hexAddress);
}

int PrintLineCells(int addressDigits) {
    return addressDigits + kCharColumnOffset + kPrintBytesPerLine;
}

int FitPrintPixelSize(int pixelSize, int cells, int areaWidth,
                      const std::function<int(int)>& cellWidthAt) {
    const int largest = std::max(pixelSize, 1);
    const std::int64_t width = std::max(areaWidth, 0);
    const auto needed = [&](int size) {
        return std::int64_t{std::max(cells, 0)} * std::max(cellWidthAt(size), 0);
    };
    // The width is about proportional to the size: proportional steps land
    // close; rounding in the font's metrics may leave room for a size or two
    // more, taken back afterwards.
    int size = largest;
    while (size > 1 && needed(size) > width) {
        const std::int64_t proportional = size * width / std::max<std::int64_t>(needed(size), 1);
        size = static_cast<int>(std::clamp<std::int64_t>(proportional, 1, size - 1));
    }
    while (size < largest && needed(size + 1) <= width)
        ++size;
    return size;
}

std::string FormatPrintLine(std::int64_t address, int digits, bool hexAddress,
                            const unsigned char* bytes, int count, bool upperChars) {
    count = std::clamp(count, 0, kPrintBytesPerLine);
    std::string line(static_cast<std::size_t>(digits + kCharColumnOffset + count), ' ');
    WriteDigits(line.data(), static_cast<std::uint64_t>(std::max<std::int64_t>(address, 0)), digits,
                hexAddress);
    for (int j = 0; j < count; ++j) {
        const unsigned char b = bytes[j];
        const auto pair = static_cast<std::size_t>(digits + kAddressGap + kCellsPerPair * j);
        line[pair] = kHexDigits[b >> 4];
        line[pair + 1] = kHexDigits[b & 0x0F];
        line[static_cast<std::size_t>(digits + kCharColumnOffset + j)] =
            static_cast<char>(PrintChar(b, upperChars));
    }
    return line;
}

int MulDivRound(int a, int b, int c) {
    if (c == 0)
        return 0;
    // Half away from zero, as the system's MulDiv does.
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -std::int64_t{c} : c))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    return static_cast<int>(std::clamp<std::int64_t>(quotient, INT32_MIN, INT32_MAX));
}

PrintArea PrintAreaFromMargins(const PrinterMetrics& m, const PrintMargins& margins) {
    PrintArea area;
    area.left = MulDivRound(m.dpiX, margins.left, 1000) - m.offsetX;
    area.top = MulDivRound(m.dpiY, margins.top, 1000) - m.offsetY;
    area.right = m.paperWidth - m.offsetX - MulDivRound(m.dpiX, margins.right, 1000);
    area.bottom = m.paperHeight - m.offsetY - MulDivRound(m.dpiY, margins.bottom, 1000);
    return area;
}

bool MarginsLeaveALine(const PrinterMetrics& metrics, const PrintMargins& margins, int lineHeight) {
    const PrintArea area = PrintAreaFromMargins(metrics, margins);
    return area.Width() > 0 && area.Height() >= std::max(lineHeight, 1);
}

CPrintJobPlan::CPrintJobPlan(std::int64_t start, std::int64_t length, int areaHeight,
                             int lineHeight, bool hexAddress)
    : m_nStart(std::max<std::int64_t>(start, 0)), m_nLength(std::max<std::int64_t>(length, 0)),
      m_nLineCount((m_nLength - 1) / kPrintBytesPerLine + 1),
      m_nLinesPerPage(lineHeight > 0 ? std::max(areaHeight / lineHeight, 1) : 1),
      m_nAddressDigits(PrintJobAddressDigits(m_nStart, m_nLength, hexAddress)) {}

std::int64_t CPrintJobPlan::PageCount() const {
    return (m_nLineCount - 1) / m_nLinesPerPage + 1;
}

std::int64_t CPrintJobPlan::FirstLine(std::int64_t page) const {
    return (std::max<std::int64_t>(page, 1) - 1) * m_nLinesPerPage;
}

int CPrintJobPlan::LinesOnPage(std::int64_t page) const {
    const std::int64_t left = m_nLineCount - FirstLine(page);
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, m_nLinesPerPage));
}

int CPrintJobPlan::BytesOnLine(std::int64_t line) const {
    const std::int64_t left = m_nStart + m_nLength - LineAddress(line);
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, kPrintBytesPerLine));
}
