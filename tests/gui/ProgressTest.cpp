#include "framework/CProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Makes every progress show its dialog at once, and restores the defaults.
struct ImmediateProgress {
    ImmediateProgress() { CProgress::SetDelayForTests(0); }
    ~ImmediateProgress() {
        CProgress::SetDelayForTests(-1);
        CProgress::SetObserverForTests(nullptr);
    }
};
} // namespace

TEST(Progress, NoDialogForShortWork) {
    CProgress progress("Recherche...");
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(progress.Step(i, 100));
    EXPECT_EQ(progress.Dialog(), nullptr);
}

TEST(Progress, CancelButtonAndEscapeBothCancel) {
    ImmediateProgress immediate;
    {
        CProgress progress("Recherche...");
        CProgress::SetObserverForTests([](CProgress& p) {
            if (p.Dialog())
                p.Dialog()->cancel();
        });
        EXPECT_TRUE(progress.Step(10, 100));
        ASSERT_NE(progress.Dialog(), nullptr);
        EXPECT_EQ(progress.Dialog()->labelText(), "Recherche...");
        EXPECT_TRUE(progress.Cancelled());
    }
    CProgress::SetObserverForTests(nullptr);
    QLineEdit other;
    other.show();
    CProgress progress("Recherche...");
    // Escape anywhere cancels and is not delivered; other input waits.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&other, &letter);
    EXPECT_EQ(other.text(), "");
    EXPECT_FALSE(progress.Cancelled());
    QApplication::sendEvent(&other, &escape);
    EXPECT_TRUE(progress.Step());
}

TEST(Progress, InputFlowsAgainAfterwards) {
    QLineEdit edit;
    edit.show();
    { CProgress progress("Enregistrement..."); }
    QTest::keyClicks(&edit, "ab");
    EXPECT_EQ(edit.text(), "ab");
}
