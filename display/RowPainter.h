// Draws formatted rows of the hex display. Each cell's glyph is placed at a
// fixed pixel position in one glyph run per call, so the columns stay aligned
// whatever advances the font has, and no text shaping runs while painting.
#pragma once

#include "display/RowLayout.h"

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>

#include <array>

class QPainter;

class CRowPainter {
public:
    CRowPainter();

    void SetFont(const QFont& font);
    void SetCellWidth(int width);
    int Ascent() const { return m_nAscent; }

    // Takes a formatted line (display codes 0x20-0xFF); DrawCells draws from it.
    void SetLine(const unsigned char* line, int cells);
    // Draws cells first ... first + count - 1 of the line in the painter's pen
    // colour; rowOrigin is the top-left corner of the row's cell 0.
    void DrawCells(QPainter& painter, QPoint rowOrigin, int first, int count);
    // The characters DrawCells draws for the line, a '.' where the font lacks one.
    QString Text() const;

private:
    QFont m_font;
    QRawFont m_rawFont;
    QGlyphRun m_run;
    int m_nAscent = 0;
    int m_nCellWidth = 1;
    int m_nCells = 0;
    std::array<quint32, 256> m_glyphOf{};
    std::array<char16_t, 256> m_charOf{};
    std::array<unsigned char, CRowLayout::kMaxRowCells> m_line{};
    std::array<quint32, CRowLayout::kMaxRowCells> m_glyphs{};
    std::array<QPointF, CRowLayout::kMaxRowCells> m_positions{};
};
