#include "app/ProgramIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(0.5, 0.5, size - 1.0, size - 1.0);
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, QColor(0x2f, 0x6f, 0xc0));
    fill.setColorAt(1, QColor(0x16, 0x3a, 0x70));
    QPainterPath path;
    path.addRoundedRect(tile, size / 6.0, size / 6.0);
    painter.fillPath(path, fill);
    painter.setPen(QColor(0x0e, 0x26, 0x4a));
    painter.drawPath(path);

    // "0x" on top, a run of bytes below: the program at a glance.
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPixelSize(qMax(6, size * 9 / 20));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size * 0.58), Qt::AlignCenter, QStringLiteral("0x"));
    font.setBold(false);
    font.setPixelSize(qMax(4, size / 4));
    painter.setFont(font);
    painter.setPen(QColor(0xbf, 0xd8, 0xff));
    painter.drawText(QRectF(0, size * 0.52, size, size * 0.4), Qt::AlignCenter,
                     QStringLiteral("FF 2A"));
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    // Not cached: pixmaps must not outlive the application object.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
