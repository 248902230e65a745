// A picture of the whole main window with a document open and the cursor data
// window shown, saved in the build folder to be looked at as a user would.
#include "FrameTestSupport.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace {

QByteArray Sample() {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(char(i * 7 + (i >> 8)));
    bytes.replace(0, 16, QByteArray("Quexo Pro sample", 16));
    return bytes;
}

} // namespace

TEST_F(FrameTest, PictureOfTheMainWindow) {
    m_pMain->resize(900, 560);
    Start();
    ASSERT_NE(Open(Sample(), QStringLiteral("sample.bin")), nullptr);
    CQuexoView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    view->GetGrid().SetCaret(0x23, true);
    view->GetGrid().SetAnchor(0x13);
    CCursorDataDlg* cursor = m_pMain->GetCursorDataWnd();
    ASSERT_TRUE(cursor->isVisible());
    Idle();
    QTest::qWait(50);
    Idle();

    // The main window and, where it stands on the desktop, the cursor window.
    QImage picture(m_pMain->frameGeometry().united(cursor->frameGeometry()).size(),
                   QImage::Format_ARGB32);
    picture.fill(QColor(90, 110, 130));
    const QPoint origin = m_pMain->frameGeometry().united(cursor->frameGeometry()).topLeft();
    QPainter painter(&picture);
    painter.drawPixmap(m_pMain->pos() - origin, m_pMain->grab());
    painter.drawPixmap(cursor->pos() - origin, cursor->grab());
    painter.end();
    const QString path = QStringLiteral(QUEXO_BUILD_DIR "/main-window.png");
    ASSERT_TRUE(picture.save(path));
    ASSERT_TRUE(m_pMain->grab().save(QStringLiteral(QUEXO_BUILD_DIR "/main-window-only.png")));
}
