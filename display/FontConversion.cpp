#include "display/FontConversion.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kDefaultPixelHeight = 13;
constexpr int kMaxPixelHeight = 1000;
constexpr std::uint8_t kFixedPitch = 1;      // low bits of lfPitchAndFamily
constexpr std::uint8_t kFamilyModern = 0x30; // high bits: fixed-width families
// Without a screen, the usual desktop resolution.
constexpr double kReferenceDpi = 96.0;

} // namespace

QFont FontFromLogFont(const LogFont& font) {
    QFont qfont(font.lfFaceName.empty() ? QStringLiteral("Courier")
                                        : QString::fromUtf8(font.lfFaceName.c_str()));
    qfont.setStyleHint(QFont::TypeWriter);
    if ((font.lfPitchAndFamily & 0x03) == kFixedPitch ||
        (font.lfPitchAndFamily & 0xF0) == kFamilyModern)
        qfont.setFixedPitch(true);
    if (font.lfWeight > 0)
        qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.lfWeight, 1, 1000)));
    qfont.setItalic(font.lfItalic != 0);
    qfont.setUnderline(font.lfUnderline != 0);
    qfont.setStrikeOut(font.lfStrikeOut != 0);

    int pixels = kDefaultPixelHeight;
    if (font.lfHeight != 0) // 64 bits: the magnitude of INT32_MIN
        pixels = static_cast<int>(
            std::min<std::int64_t>(std::abs(std::int64_t{font.lfHeight}), kMaxPixelHeight));
    qfont.setPixelSize(pixels);
    if (font.lfHeight > 0) {
        // A cell height: scale the glyph size so ascent + descent come out as asked.
        const int cell = QFontMetrics(qfont).height();
        if (cell > 0)
            qfont.setPixelSize(
                std::max(1, static_cast<int>(std::lround(double(pixels) * pixels / cell))));
    }
    return qfont;
}

LogFont LogFontFromFont(const QFont& qfont) {
    LogFont font;
    int pixels = qfont.pixelSize();
    if (pixels <= 0) {
        // A size in points (the font dialog's): the pixels it takes on this
        // screen, as the dialog's own sample showed it.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchY() : kReferenceDpi;
        pixels = static_cast<int>(std::lround(qfont.pointSizeF() * dpi / 72.0));
    }
    font.lfHeight = -std::max(pixels, 1);
    font.lfWeight = static_cast<std::int32_t>(qfont.weight());
    font.lfItalic = qfont.italic() ? 1 : 0;
    font.lfUnderline = qfont.underline() ? 1 : 0;
    font.lfStrikeOut = qfont.strikeOut() ? 1 : 0;
    if (QFontInfo(qfont).fixedPitch())
        font.lfPitchAndFamily = kFixedPitch | kFamilyModern;
    font.lfFaceName = qfont.family().toStdString();
    return font;
}
