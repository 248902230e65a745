// A printed line is the grid's row: the same address base, the same glyphs for
// every byte value, and always whole, whatever the font size and margins.
#include "PrintTestSupport.h"

#include "display/FontConversion.h"
#include "display/HexPrinter.h"
#include "display/RowFormatter.h"
#include "display/RowPainter.h"
#include "framework/CPrintPreviewDlg.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"

#include <QFontDatabase>
#include <QPrintPreviewWidget>

#include <algorithm>
#include <vector>

namespace {

// The text the grid draws for a row of 16 bytes at `address`.
QString GridRowText(const CHexGridWnd& grid, const QByteArray& bytes, std::int64_t address) {
    CRowFormatter formatter;
    formatter.Configure(16, grid.Layout().m_nAddressDigits, grid.IsHexAddress(), grid.IsShowUpper(),
                        grid.GetCharSet());
    unsigned char line[CRowLayout::kMaxRowCells];
    const int cells =
        formatter.Format(line, address, true,
                         reinterpret_cast<const unsigned char*>(bytes.constData() + address), 16);
    CRowPainter painter;
    painter.SetFont(grid.DisplayFont());
    painter.SetLine(line, cells);
    return painter.Text();
}

// The address's value (the grid shows 11 digits, a printed line 8), the
// pairs with blanks folded, and the 16 characters as they stand.
struct RowParts {
    qulonglong address;
    QString pairs;
    QString chars;
    bool operator==(const RowParts&) const = default;
};
RowParts Split(const QString& line, bool hex) {
    const QString head = line.left(line.size() - 16).simplified();
    // Text extraction reads the no-break space's blank glyph as a space.
    QString chars = line.right(16);
    chars.replace(QChar(0xA0), QChar(u' '));
    return {head.section(' ', 0, 0).toULongLong(nullptr, hex ? 16 : 10), head.section(' ', 1),
            chars};
}
void PrintTo(const RowParts& parts, std::ostream* out) {
    *out << parts.address << " | " << parts.pairs.toStdString() << " |";
    for (const QChar ch : parts.chars)
        *out << " " << std::hex << unsigned(ch.unicode()) << std::dec;
}

class PrintedLinesTest : public PrintingTest {};

} // namespace

TEST_F(PrintedLinesTest, EveryByteValuePrintsAsTheGridShowsIt) {
    Start();
    const QByteArray bytes = Counting(256);
    ASSERT_NE(Open(bytes), nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    for (const bool upper : {true, false}) {
        for (const bool hex : {true, false}) {
            SCOPED_TRACE(testing::Message() << "upper " << upper << " hex " << hex);
            g_bUpperChars = upper ? 1 : 0;
            g_bHexAddress = hex ? 1 : 0;
            grid.SetShowUpper(upper);
            grid.SetHexAddress(hex);
            const QStringList lines = Lines(PrintDirect());
            ASSERT_EQ(lines.size(), 16) << PdfText(m_pdf).toStdString();
            for (int row = 0; row < 16; ++row) {
                const QString expected = GridRowText(grid, bytes, 16 * row);
                EXPECT_EQ(Split(lines[row], hex), Split(expected, hex))
                    << "printed " << lines[row].toStdString() << "\nshown   "
                    << expected.toStdString();
            }
        }
    }
}

TEST_F(PrintedLinesTest, AddressesInTheBaseThisViewShows) {
    Start();
    ASSERT_NE(Open(Counting(32)), nullptr);
    g_bHexAddress = 1; // a new global setting this view has not taken yet
    ActiveView()->GetGrid().SetHexAddress(false);
    const QStringList lines = Lines(PrintDirect());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("00000016 10 11")) << lines[1].toStdString();
}

TEST_F(PrintedLinesTest, LinesStayWholeAtEveryFontSize) {
    Start();
    ASSERT_NE(Open(Counting(16)), nullptr);
    const int screenDpi = ActiveView()->logicalDpiY();
    QPrinter& printer = AfxGetPrinter();
    QFont face = FontFromLogFont(g_displayFont);
    face.setFamily(QFontInfo(face).family());
    const PrintMargins wide{300, 1000, 1000, 1000};
    for (const PrintMargins& margins : {PrintMargins{}, wide}) {
        g_rcPrintMargins = margins;
        for (const int points : QFontDatabase::standardSizes()) {
            SCOPED_TRACE(testing::Message() << points << " pt, left " << margins.left);
            QFont font = face;
            font.setPointSize(points);
            g_displayFont = LogFontFromFont(font);
            const auto job = MakePrintJob(printer, screenDpi, 0, 16, true, false);
            EXPECT_LE(PrintLineCells(8) * job->cellWidth, job->area.Width());
            EXPECT_LE(job->font.pixelSize(),
                      PrinterFont(g_displayFont, printer.logicalDpiY(), screenDpi).pixelSize());
        }
    }

    // Printed for real at sizes that did not fit before: every character is there.
    for (const int points : {14, 72}) {
        QFont font = face;
        font.setPointSize(points);
        g_displayFont = LogFontFromFont(font);
        const QStringList lines = Lines(PrintDirect());
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0].simplified(),
                  "00000000 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ................")
            << points << " pt";
    }
}

TEST_F(PrintedLinesTest, PreviewDrawsTheLinesItPrints) {
    Start();
    QByteArray bytes(16 * 8, 'x');
    bytes[16 * 3 + 5] = char(0x85); // a line break to a text layout
    bytes[16 * 3 + 8] = char(0x80);
    ASSERT_NE(Open(bytes), nullptr);
    g_bUpperChars = 1;
    ActiveView()->GetGrid().SetShowUpper(true);
    EXPECT_EQ(Lines(PrintDirect()).size(), 8);

    // The top of the preview's first page, wide enough for lines and cells to
    // stand apart: its rows of ink, and whether each character cell of the
    // fourth row holds a glyph (… and € as much as x).
    std::vector<std::pair<int, int>> rows;
    std::vector<bool> inked;
    DialogScript script;
    script.Then([&](QDialog& dialog) {
        auto* preview = qobject_cast<CPrintPreviewDlg*>(&dialog);
        if (!preview)
            return int(QDialog::Rejected);
        QPrintPreviewWidget* widget = preview->Preview();
        widget->updatePreview();
        widget->fitToWidth();
        preview->resize(1400, 1000);
        preview->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(preview));
        const QImage page = widget->grab().toImage().convertToFormat(QImage::Format_Grayscale8);
        // Inside the page, clear of its edges and shadow.
        const int left = page.width() / 10;
        const int right = page.width() * 9 / 10;
        const auto ink = [&](int x, int y) { return page.constScanLine(y)[x] < 80; };
        for (int y = 0; y < page.height(); ++y) {
            bool any = false;
            for (int x = left; x < right && !any; ++x)
                any = ink(x, y);
            if (any && (rows.empty() || rows.back().second != y - 1))
                rows.emplace_back(y, y);
            else if (any)
                rows.back().second = y;
        }
        if (rows.size() != 8)
            return int(QDialog::Rejected);
        // The first row is 74 cells of text; its ink spans them all.
        int first = right;
        int last = left;
        for (int y = rows[0].first; y <= rows[0].second; ++y)
            for (int x = left; x < right; ++x)
                if (ink(x, y)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        const double cell = (last - first + 1) / 74.0;
        for (int j = 0; j < 16; ++j) {
            const double x0 = first + (58 + j + 0.2) * cell;
            bool any = false;
            for (int y = rows[3].first; y <= rows[3].second && !any; ++y)
                for (int x = int(x0); x < int(x0 + 0.6 * cell) && !any; ++x)
                    any = ink(x, y);
            inked.push_back(any);
        }
        preview->hide();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(rows.size(), 8U);
    EXPECT_EQ(inked, std::vector<bool>(16, true));
    EXPECT_EQ(script.Unexpected(), 0);
}
