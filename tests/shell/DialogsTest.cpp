#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "shell/controls/ActionButton.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/NoticeDialog.h"
#include "shell/controls/TabButton.h"

namespace zelvo {
namespace {

class ConfirmDialogTest : public ::testing::Test {
protected:
    void SetUp() override { dialog.show(); }
    ConfirmDialog dialog{IconKind::Warning, QStringLiteral("确定要重新登陆吗？"),
                         QStringLiteral("确  定"), QStringLiteral("取  消")};
};

TEST_F(ConfirmDialogTest, OpensWithConfirmSelectedAndTheLook) {
    EXPECT_EQ(dialog.size(), QSize(368, 242));
    EXPECT_TRUE(dialog.ConfirmButton()->IsSelected());
    EXPECT_FALSE(dialog.CancelButton()->IsSelected());
    EXPECT_EQ(dialog.ConfirmButton()->geometry(), QRect(46, 174, 115, 38));
    EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(207, 174, 115, 38));
    EXPECT_EQ(dialog.Text(), QStringLiteral("确定要重新登陆吗？"));
}

TEST_F(ConfirmDialogTest, EnterConfirms) {
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ConfirmDialogTest, TabMovesFocusSoEnterCancels) {
    QTest::keyClick(&dialog, Qt::Key_Tab);
    EXPECT_TRUE(dialog.CancelHasFocus());
    EXPECT_TRUE(dialog.CancelButton()->IsSelected());
    EXPECT_FALSE(dialog.ConfirmButton()->IsSelected());
    QTest::keyClick(&dialog, Qt::Key_Enter);
    EXPECT_EQ(dialog.Answer(), DialogResult::Cancel);
}

TEST_F(ConfirmDialogTest, TabTwiceComesBackToConfirm) {
    QTest::keyClick(&dialog, Qt::Key_Tab);
    QTest::keyClick(&dialog, Qt::Key_Tab);
    EXPECT_FALSE(dialog.CancelHasFocus());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
}

TEST_F(ConfirmDialogTest, EscapeCancels) {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.Answer(), DialogResult::Cancel);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ConfirmDialogTest, ButtonsAnswerForThemselves) {
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Answer(), DialogResult::Cancel);
    dialog.show();
    QTest::mouseClick(dialog.ConfirmButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
}

TEST_F(ConfirmDialogTest, QueryModeRunsTheOperationAndStaysOpen) {
    int queries = 0;
    dialog.SetQueryOperation([&] { ++queries; });
    dialog.SetQueryMode(true);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::mouseClick(dialog.ConfirmButton(), Qt::LeftButton);
    EXPECT_EQ(queries, 2);
    EXPECT_TRUE(dialog.isVisible());
    // Enter on cancel still cancels.
    QTest::keyClick(&dialog, Qt::Key_Tab);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(dialog.Answer(), DialogResult::Cancel);
}

TEST_F(ConfirmDialogTest, OwnerClosesAQueryModeDialogAsConfirmed) {
    dialog.SetQueryOperation([] {});
    dialog.SetQueryMode(true);
    dialog.CloseConfirmed();
    EXPECT_FALSE(dialog.QueryMode());
    EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(NoticeDialogTest, EveryWayOutAnswersOne) {
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        NoticeDialog dialog(IconKind::Attention, QStringLiteral("网络异常，请确认当前网络状态"),
                            QStringLiteral("我知道了"));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key(key));
        EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
        EXPECT_FALSE(dialog.isVisible());
    }
    NoticeDialog dialog(IconKind::Warning, QStringLiteral("x"), QStringLiteral("我知道了"));
    dialog.show();
    EXPECT_EQ(dialog.Button()->geometry(), QRect(92, 174, 184, 38));
    EXPECT_EQ(dialog.Button()->Fill(), QColor(0x11, 0xE2, 0xFC));
    QTest::mouseClick(dialog.Button(), Qt::LeftButton);
    EXPECT_EQ(dialog.Answer(), DialogResult::Confirm);
}

TEST(ScriptedDialogsTest, AnswersInOrderAndRecordsTheTexts) {
    ScriptedDialogs scripted;
    scripted.QueueAnswer(DialogResult::Confirm);
    EXPECT_EQ(AskConfirm(IconKind::Warning, QStringLiteral("一"), QStringLiteral("确  定"),
                         QStringLiteral("取  消")),
              DialogResult::Confirm);
    EXPECT_EQ(AskConfirm(IconKind::Warning, QStringLiteral("二"), QStringLiteral("确  定"),
                         QStringLiteral("取  消")),
              DialogResult::Cancel);
    ShowNotice(IconKind::Warning, QStringLiteral("三"));
    ASSERT_EQ(scripted.History().size(), 3u);
    EXPECT_EQ(scripted.History()[0].text, QStringLiteral("一"));
    EXPECT_EQ(scripted.History()[2].text, QStringLiteral("三"));
    EXPECT_EQ(scripted.History()[2].answer, DialogResult::Confirm);
}

TEST(ScriptedDialogsTest, ResponderCanDriveAQueryDialog) {
    ScriptedDialogs scripted;
    int queries = 0;
    scripted.SetResponder([&](SkinDialog& dialog) {
        auto& confirm = dynamic_cast<ConfirmDialog&>(dialog);
        EXPECT_EQ(confirm.ConfirmButton()->Caption(), QStringLiteral("查  询"));
        ++queries;
        return DialogResult::Cancel;
    });
    EXPECT_EQ(AskConfirm(IconKind::Warning, QStringLiteral("等待"), QStringLiteral("查  询"),
                         QStringLiteral("撤  销")),
              DialogResult::Cancel);
    EXPECT_EQ(queries, 1);
}

TEST(ScriptedDialogsTest, WorkerThreadDialogRunsOnTheUserInterfaceThread) {
    ScriptedDialogs scripted;
    scripted.SetResponder([](SkinDialog& dialog) {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        EXPECT_EQ(dialog.thread(), qApp->thread());
        return DialogResult::Confirm;
    });
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        answer = static_cast<int>(AskConfirm(IconKind::Success,
                                             QStringLiteral("恭喜你，应用程序更新成功！"),
                                             QStringLiteral("确  定"), QStringLiteral("关  闭")));
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    worker.join();
    EXPECT_EQ(answer, static_cast<int>(DialogResult::Confirm));
    ASSERT_EQ(scripted.History().size(), 1u);
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

// The real modal loop, opened from a worker: the dialog lives on the user-interface thread,
// belongs to the owner, and its answer gets back to the worker.
TEST(DialogFromWorker, RealDialogAnswersTheWorker) {
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    QWidget* seenParent = nullptr;
    QTimer poke;
    poke.setInterval(20);
    QObject::connect(&poke, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ConfirmDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seenParent = dialog->parentWidget();
        QTest::keyClick(dialog, Qt::Key_Tab);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    poke.start();
    std::thread worker([&] {
        answer = static_cast<int>(AskConfirm(IconKind::Attention, QStringLiteral("初始化数据失败！"),
                                             QStringLiteral("确  定"), QStringLiteral("关  闭"),
                                             &owner));
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 30000));
    worker.join();
    EXPECT_EQ(answer, static_cast<int>(DialogResult::Cancel));
    EXPECT_EQ(seenParent, &owner);
}

}  // namespace
}  // namespace zelvo
