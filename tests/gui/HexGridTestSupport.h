// Shared set-up of the grid tests: an in-memory piece table with known bytes
// and a grid showing it.
#pragma once

#include "display/CHexGridWnd.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QPalette>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <vector>

namespace gridtest {

// A piece table holding `bytes`, built the way a new document is filled.
inline void Fill(CPieceFile64& file, const std::vector<unsigned char>& bytes) {
    file.Seek(0, CFile64::begin);
    file.Insert(static_cast<std::uint32_t>(bytes.size()), 0);
    file.Seek(0, CFile64::begin);
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Byte i holds i & 0xFF.
inline std::vector<unsigned char> Pattern(size_t length) {
    std::vector<unsigned char> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>(i);
    return bytes;
}

inline unsigned char ByteAt(CPieceFile64& file, std::int64_t offset) {
    unsigned char b = 0;
    file.Seek(offset, CFile64::begin);
    file.Read(&b, 1);
    return b;
}

// Colours that tell the roles apart in a rendered image.
inline QPalette DistinctPalette() {
    QPalette pal;
    pal.setColor(QPalette::Base, QColor(255, 255, 255));
    pal.setColor(QPalette::Text, QColor(0, 0, 0));
    pal.setColor(QPalette::Highlight, QColor(0, 0, 200));
    pal.setColor(QPalette::HighlightedText, QColor(255, 255, 0));
    pal.setColor(QPalette::Button, QColor(0, 180, 0));
    pal.setColor(QPalette::ButtonText, QColor(255, 0, 255));
    return pal;
}

// A grid of `rows` rows of `bytesPerRow` bytes over `file`, shown as a
// top-level window (a hidden widget does not lay out its viewport), without
// the keyboard focus.
inline std::unique_ptr<CHexGridWnd> MakeGrid(CPieceFile64& file, int bytesPerRow, int rows,
                                             bool readOnly = false) {
    auto grid = std::make_unique<CHexGridWnd>();
    grid->SetFixedColumns(bytesPerRow);
    const int bar = grid->verticalScrollBar()->sizeHint().width();
    grid->resize(3 + (4 * bytesPerRow + 16) * grid->Layout().m_nCharWidth + bar,
                 2 + rows * grid->Layout().m_nCharHeight + 2);
    grid->SetFile(&file, readOnly);
    // Typing writes straight into the file here; in the program the view
    // hands it to the document.
    grid->SetWriteHook([&file](std::int64_t offset, const unsigned char* bytes,
                               std::int64_t count) { file.WriteAt(offset, bytes, count); });
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get()))
        return nullptr;
    // Without the focus no caret blinks into the pictures and row counts.
    grid->clearFocus();
    QCoreApplication::processEvents();
    return grid;
}

// The centre of a cell of a visible row.
inline QPoint CellCentre(const CHexGridWnd& grid, int cell, int row) {
    return QPoint(grid.Layout().CellX(cell) + grid.Layout().m_nCharWidth / 2,
                  grid.Layout().RowY(row) + grid.Layout().m_nCharHeight / 2);
}

} // namespace gridtest
