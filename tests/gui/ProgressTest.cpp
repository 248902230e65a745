// The progress of long operations, driven through the window system as a user
// would: the dialog's buttons and keys work, other windows get no input while
// it runs, and a message box raised meanwhile can be answered.
#include "ProgressTestSupport.h"

#include "framework/CMDIFrameWnd.h"
#include "framework/CWaitCursor.h"
#include "framework/Prompt.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
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

// Steps until the progress says cancelled, at most `limit` times.
int StepsUntilCancelled(CProgress& progress, int limit = 200) {
    for (int i = 1; i <= limit; ++i)
        if (progress.Step(i, limit + 1))
            return i;
    return -1;
}
} // namespace

TEST(Progress, NoDialogForShortWork) {
    CProgress progress("Recherche...");
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(progress.Step(i, 100));
    EXPECT_EQ(progress.Dialog(), nullptr);
    EXPECT_EQ(CProgress::Current(), &progress);
}

TEST(Progress, ClickCloseAndEscapeCancelWhileOtherWindowsGetNoInput) {
    for (const CancelBy how : kEveryCancel) {
        SCOPED_TRACE(testing::Message() << how);
        ImmediateProgress immediate;
        QLineEdit other;
        other.show();
        QWindow* otherWindow = other.windowHandle();
        ASSERT_NE(otherWindow, nullptr);
        int cancelSentAt = -1;
        int calls = 0;
        bool visibleWhenCancelled = false;
        {
            CProgress progress("Recherche...");
            CProgress::SetObserverForTests([&](CProgress& p) {
                ++calls;
                QProgressDialog* dialog = p.Dialog();
                if (!dialog)
                    return;
                if (calls == 3) {
                    QTest::keyClick(otherWindow, 'x');
                    QTest::mouseClick(otherWindow, Qt::LeftButton, {}, QPoint(5, 5));
                    CancelThroughWindow(*dialog, how);
                    cancelSentAt = calls;
                    visibleWhenCancelled = p.Cancelled() && dialog->isVisible();
                }
            });
            ASSERT_EQ(StepsUntilCancelled(progress), 3);
            EXPECT_EQ(progress.Dialog()->labelText(), "Recherche...");
            // The dialog stays up, and keeps the other windows out of reach,
            // until the operation has stopped.
            EXPECT_TRUE(visibleWhenCancelled);
            EXPECT_TRUE(progress.Step()) << "stays cancelled";
        }
        EXPECT_EQ(cancelSentAt, 3);
        EXPECT_EQ(other.text(), "");
        EXPECT_EQ(CProgress::Current(), nullptr);
        // Once the operation is over, input flows again.
        QTest::keyClick(otherWindow, 'a');
        EXPECT_EQ(other.text(), "a");
    }
}

TEST(Progress, ArrowOverTheDialogAndTheWaitCursorBackAfterwards) {
    ImmediateProgress immediate;
    CWaitCursor wait;
    {
        CProgress progress("Enregistrement...");
        EXPECT_FALSE(progress.Step(1, 2));
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    }
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

// A read error while painting raises a message box from inside the progress's
// turn of the event loop: it must take keys and clicks, and the operation
// must go on (and stay cancellable) once it is answered.
TEST(Progress, MessageBoxRaisedMeanwhileIsAnsweredByReturnOrClick) {
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "Return" : "click");
        ImmediateProgress immediate;
        int answer = 0;
        bool forced = false;
        const auto answerBox = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle())
                return;
            if (byKey) {
                QTest::keyClick(box->windowHandle(), Qt::Key_Return);
            } else {
                QAbstractButton* ok = box->button(QMessageBox::Ok);
                QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                                  ok->mapTo(box, ok->rect().center()));
            }
        };
        CProgress progress("Recherche...");
        int calls = 0;
        CProgress::SetObserverForTests([&](CProgress& p) {
            if (++calls == 2) {
                QTimer::singleShot(0, [&] {
                    QTimer::singleShot(20, answerBox);
                    // Should the box not take the answer, the test must not hang.
                    QTimer::singleShot(3000, [&] {
                        if (auto* box =
                                qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                            forced = true;
                            box->done(QMessageBox::Cancel);
                        }
                    });
                    answer = AfxMessageBox(QStringLiteral("Erreur de lecture"), MB_OK);
                });
            }
            QProgressDialog* dialog = p.Dialog();
            if (answer != 0 && !p.Cancelled() && dialog)
                CancelThroughWindow(*dialog, CancelBy::Button);
        });
        EXPECT_GT(StepsUntilCancelled(progress), 2);
        EXPECT_EQ(answer, IDOK);
        EXPECT_FALSE(forced);
    }
}

TEST(Progress, ClosingTheMainWindowAsksToStopTheOperationFirst) {
    ImmediateProgress immediate;
    PromptScript prompts;
    prompts.Answer(IDNO).Answer(IDYES);
    CMDIFrameWnd frame;
    frame.show();
    CProgress progress("Enregistrement...");
    int calls = 0;
    bool cancelledAfterNo = true;
    CProgress::SetObserverForTests([&](CProgress& p) {
        ++calls;
        if (calls == 2) {
            frame.windowHandle()->close();
            cancelledAfterNo = p.Cancelled();
        } else if (calls == 3) {
            frame.windowHandle()->close();
        }
    });
    EXPECT_EQ(StepsUntilCancelled(progress), 3);
    EXPECT_FALSE(cancelledAfterNo);
    EXPECT_EQ(prompts.Count(), 2);
    EXPECT_TRUE(prompts.LastText().contains(QStringLiteral("opération est en cours")));
    // The window stays; its documents get their save questions at the next close.
    EXPECT_TRUE(frame.isVisible());
}
