// The roster editor in real Qt widgets: the keys a teacher presses reach the
// form's handlers and its limits, and what the form decides shows on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/app_state.h"
#include "platform/qt/qt_platform.h"
#include "roster/roster_editor.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

class QtRosterEditor : public ::testing::Test {
protected:
    void SetUp() override {
        state.OptCent = "1";
        state.OptDbl2 = "0";
        editor.show();
        win = window("TOUROKU");
        ASSERT_NE(win, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    }
    void TearDown() override { editor.discard(); }

    QLineEdit* box(int i) { return win->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(i)); }
    QLabel* number(int i) { return win->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i)); }

    TempDir dir;
    QtPlatform platform{dir.path().string()};
    AppState state;
    RosterEditor editor{state, platform, {}, false};
    QWidget* win = nullptr;
};

TEST_F(QtRosterEditor, JapaneseTypedOrCommittedStopsAtEightBytes) {
    QLineEdit* first = box(0);
    ASSERT_NE(first, nullptr);
    first->setFocus();
    typeText(first, q("山田太郎花"));
    EXPECT_EQ(first->text(), q("山田太郎"));
    EXPECT_EQ(editor.Text1[0].text, "山田太郎");

    QLineEdit* second = box(1);
    second->setFocus();
    commitText(second, q("一二三四五"));
    EXPECT_EQ(second->text(), q("一二三四"));
    EXPECT_EQ(editor.Text1[1].text, "一二三四");
}

TEST_F(QtRosterEditor, EnterMovesOnAndTheFocusColoursFollow) {
    box(0)->setFocus();
    QTest::keyClick(box(0), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(1));
    EXPECT_EQ(box(1)->palette().color(QPalette::Base), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(number(1)->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(box(0)->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(number(0)->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    // Past the last name box the focus leaves the grid of names.
    box(99)->setFocus();
    QTest::keyClick(box(99), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), q("Check1_0"));
    EXPECT_EQ(box(99)->text(), QString());
}

TEST_F(QtRosterEditor, CutAndPasteKeysRunTheEditorsCommandsOnTheSelection) {
    int cuts = 0, pastes = 0;
    const auto cut = editor.mnuEditCutCopyPaste[0].onClick;
    const auto paste = editor.mnuEditCutCopyPaste[2].onClick;
    editor.mnuEditCutCopyPaste[0].onClick = [&] { ++cuts, cut(); };
    editor.mnuEditCutCopyPaste[2].onClick = [&] { ++pastes, paste(); };

    QLineEdit* first = box(0);
    first->setFocus();
    commitText(first, q("山田太郎"));
    first->setSelection(1, 2);
    QTest::keyClick(first, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(cuts, 1);
    EXPECT_EQ(QApplication::clipboard()->text(), q("田太"));
    EXPECT_EQ(first->text(), q("山郎"));

    // Pasted where the caret stands, cut to what fits.
    QApplication::clipboard()->setText(q("ABCDEFG"));
    QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(first->text(), q("山ABCD郎"));
    EXPECT_EQ(first->cursorPosition(), 5);
}

}  // namespace
}  // namespace tosbel
