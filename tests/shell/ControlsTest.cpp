#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QStyle>
#include <QTextLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/FlatComboBox.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/NumericKeypad.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/TabButton.h"

namespace zelvo {
namespace {

void Enter(QWidget* widget) {
    QPointF inside = QRectF(widget->rect()).center();
    QEnterEvent event(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

void MoveHeld(QWidget* widget, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class ActionButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(120, 40);
        button.show();
    }
    ActionButton button{QStringLiteral("登  录"), 18, 7};
    QSignalSpy pressed{&button, &ActionButton::Pressed};
    QSignalSpy clicked{&button, &ActionButton::Clicked};
};

TEST_F(ActionButtonTest, HoverPressAndReleaseWalkThroughTheColours) {
    EXPECT_EQ(button.Fill(), skin::Accent);
    Enter(&button);
    EXPECT_EQ(button.Fill(), skin::AccentLight);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(button.Fill(), skin::AccentDark);
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toInt(), 7);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(button.Fill(), skin::AccentLight);
    EXPECT_EQ(clicked.count(), 1);
    Leave(&button);
    EXPECT_EQ(button.Fill(), skin::Accent);
}

TEST_F(ActionButtonTest, LeavingWhileHeldReturnsToNormalAndReleasingOutsideDoesNotClick) {
    Enter(&button);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    MoveHeld(&button, QPoint(300, 10));
    EXPECT_EQ(button.Fill(), skin::Accent);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(300, 10));
    EXPECT_EQ(button.Fill(), skin::Accent);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(ActionButtonTest, LeaveEventWhileHeldAlsoRestoresNormal) {
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Leave(&button);
    EXPECT_EQ(button.Fill(), skin::Accent);
}

TEST_F(ActionButtonTest, FocusHighlightUsesTheHoverColour) {
    button.SetFocusHighlight(true);
    EXPECT_EQ(button.Fill(), skin::AccentLight);
    button.SetFocusHighlight(false);
    EXPECT_EQ(button.Fill(), skin::Accent);
}

TEST(TabButtonTest, SelectedKeepsItsLookWhenTheMouseLeaves) {
    TabButton tab(QStringLiteral("我要收款"), 14, skin::TabAccent, 10010);
    tab.resize(115, 30);
    tab.show();
    tab.SetSelected(true);
    Enter(&tab);
    EXPECT_EQ(tab.Background(), skin::TabAccent);
    Leave(&tab);
    EXPECT_EQ(tab.Background(), skin::TabAccent);
    EXPECT_EQ(tab.TextColour(), skin::NearWhite);
}

TEST(TabButtonTest, UnselectedHoversAndComesBackAfterAClick) {
    TabButton tab(QStringLiteral("修改密码"), 14, skin::TabAccent, 10012);
    tab.resize(115, 30);
    tab.show();
    QSignalSpy pressed(&tab, &TabButton::Pressed);
    QSignalSpy clicked(&tab, &TabButton::Clicked);
    Enter(&tab);
    EXPECT_EQ(tab.Background(), skin::TabHover);
    EXPECT_EQ(tab.TextColour(), skin::TabAccent);
    QTest::mousePress(&tab, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(tab.Background(), skin::TabAccent);
    QTest::mouseRelease(&tab, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(tab.Background(), QColor(Qt::white));
    EXPECT_EQ(tab.TextColour(), skin::Grey);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(NumericKeypadTest, PointsMapToKeyCodes) {
    NumericKeypad keypad;
    keypad.resize(956, 144);
    struct Probe {
        QPoint point;
        int code;
    };
    const Probe probes[] = {
        {{95, 39}, 1},    {{175, 39}, 2},   {{415, 39}, 5},  {{495, 39}, 11}, {{95, 105}, 6},
        {{415, 105}, 0},  {{495, 105}, 10}, {{60, 12}, 1},   {{129, 65}, 1},  {{600, 20}, 12},
        {{600, 130}, 12}, {{720, 72}, 13},  {{135, 39}, -1}, {{95, 70}, -1},  {{30, 39}, -1},
        {{655, 72}, -1},  {{600, 5}, -1},   {{900, 72}, -1},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(keypad.KeyCodeAt(probe.point), probe.code)
            << probe.point.x() << "," << probe.point.y();
    }
}

TEST(NumericKeypadTest, ReleaseOnAKeySendsItsCodeAndPressesStayOnTheKeypad) {
    NumericKeypad keypad;
    keypad.resize(956, 144);
    keypad.show();
    QSignalSpy keys(&keypad, &NumericKeypad::KeyPressed);
    QTest::mouseClick(&keypad, Qt::LeftButton, Qt::NoModifier, QPoint(175, 105));
    QTest::mouseClick(&keypad, Qt::LeftButton, Qt::NoModifier, QPoint(135, 39));
    ASSERT_EQ(keys.count(), 1);
    EXPECT_EQ(keys.at(0).at(0).toInt(), 7);
    EXPECT_EQ(keypad.focusPolicy(), Qt::NoFocus);
}

TEST(KeypadInputTest, CodesEditTheTextAndLeaveTheCaretAtTheEnd) {
    QLineEdit box;
    box.setText(QStringLiteral("12"));
    box.setCursorPosition(0);
    ApplyKeypadCode(box, 3);
    EXPECT_EQ(box.text(), QStringLiteral("123"));
    EXPECT_EQ(box.cursorPosition(), 3);
    ApplyKeypadCode(box, KeypadKey::Dot);
    ApplyKeypadCode(box, KeypadKey::Backspace);
    ApplyKeypadCode(box, KeypadKey::Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("12"));
    ApplyKeypadCode(box, KeypadKey::Confirm);
    EXPECT_EQ(box.text(), QStringLiteral("12"));
    ApplyKeypadCode(box, KeypadKey::Reset);
    EXPECT_EQ(box.text(), QString());
    ApplyKeypadCode(box, KeypadKey::Backspace);
    EXPECT_EQ(box.text(), QString());
}

class AmountEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.show();
        edit.setFocus();
    }
    AmountEdit edit{9, 2, 18, true};
};

TEST_F(AmountEditTest, TenthCharacterIsUndone) {
    QTest::keyClicks(&edit, QStringLiteral("123456789"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456789"));
    QTest::keyClicks(&edit, QStringLiteral("0"));
    EXPECT_EQ(edit.text(), QStringLiteral("123456789"));
}

TEST_F(AmountEditTest, ThirdDecimalSecondPointAndLeadingPointAreUndone) {
    QTest::keyClicks(&edit, QStringLiteral("."));
    EXPECT_EQ(edit.text(), QString());
    QTest::keyClicks(&edit, QStringLiteral("12.345"));
    EXPECT_EQ(edit.text(), QStringLiteral("12.34"));
    QTest::keyClicks(&edit, QStringLiteral("."));
    EXPECT_EQ(edit.text(), QStringLiteral("12.34"));
}

TEST_F(AmountEditTest, OnlyAmountCharactersReachTheBox) {
    QTest::keyClicks(&edit, QStringLiteral("1a2 b+-"));
    EXPECT_EQ(edit.text(), QStringLiteral("12+-"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("12+"));
}

TEST_F(AmountEditTest, UndoRestoresTheSelection) {
    edit.setText(QStringLiteral("1.25"));
    edit.setSelection(0, 1);
    // Replacing "1" by "." would make the text start with ".".
    QTest::keyClick(&edit, '.');
    EXPECT_EQ(edit.text(), QStringLiteral("1.25"));
    EXPECT_EQ(edit.selectionStart(), 0);
    EXPECT_EQ(edit.selectedText(), QStringLiteral("1"));
}

TEST_F(AmountEditTest, BackspaceThatWouldLeaveALeadingPointIsUndone) {
    edit.setText(QStringLiteral("0.5"));
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("0.5"));
    EXPECT_EQ(edit.cursorPosition(), 1);
}

TEST(AmountText, AcceptanceRules) {
    EXPECT_TRUE(AmountTextAcceptable(QString(), 9, 2));
    EXPECT_TRUE(AmountTextAcceptable(QStringLiteral("0.01"), 9, 2));
    EXPECT_TRUE(AmountTextAcceptable(QStringLiteral("12."), 9, 2));
    EXPECT_FALSE(AmountTextAcceptable(QStringLiteral(".1"), 9, 2));
    EXPECT_FALSE(AmountTextAcceptable(QStringLiteral("1.2.3"), 9, 2));
    EXPECT_FALSE(AmountTextAcceptable(QStringLiteral("1.234"), 9, 2));
    EXPECT_FALSE(AmountTextAcceptable(QStringLiteral("1234567890"), 9, 2));
    EXPECT_TRUE(AmountTextAcceptable(QStringLiteral("1.2"), 9, 1));
    EXPECT_FALSE(AmountTextAcceptable(QStringLiteral("1.2"), 9, 0));
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

TEST(AmountEditKeys, DeleteAndCaretKeysWorkButPasteDoesNot) {
    AmountEdit edit(9, 2, 18, true);
    edit.show();
    edit.setText(QStringLiteral("12.5"));
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
    // Deleting the digit before the point would leave ".5".
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
    QTest::keyClick(&edit, Qt::Key_End);
    EXPECT_EQ(edit.cursorPosition(), 3);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

// The family whose glyphs draw `text` in `font` (the first run of the laid-out text).
QString DrawingFamily(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

// AR PL UMing draws "l" like "1": in 宋体 letters and digits come from a clear face and only
// the CJK characters from the CJK face.
TEST(SkinFonts, LatinLettersOfSongAreNotDrawnByTheCjkFace) {
    skin::InstallFontSubstitutions();
    const QFont song = skin::Font(12);
    const QString latin = DrawingFamily(song, QStringLiteral("Zelvo ctrl+a l1I"));
    EXPECT_FALSE(latin.contains(QStringLiteral("UMing"), Qt::CaseInsensitive))
        << latin.toStdString();
    EXPECT_FALSE(latin.isEmpty());
    const QString cjk = DrawingFamily(song, QStringLiteral("宋体设置"));
    EXPECT_NE(cjk.compare(latin, Qt::CaseInsensitive), 0) << cjk.toStdString();
}

TEST(SkinEditTest, PasswordBulletsFitTheBox) {
    SkinEdit box(24, true);
    box.resize(230, 30);
    box.SetPasswordStyle(true);
    box.setText(QStringLiteral("888888"));
    const QChar bullet(
        box.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &box));
    EXPECT_EQ(bullet, QChar(0x2022));
    EXPECT_LT(QFontMetrics(box.font()).horizontalAdvance(QString(6, bullet)), box.width() / 2);
    box.SetPasswordStyle(false);
    EXPECT_EQ(box.displayText(), QStringLiteral("888888"));
}

TEST(FlatComboBoxTest, DrawnWhiteWithAThinFrame) {
    FlatComboBox list;
    list.addItem(QStringLiteral("打印商户联和顾客联"));
    list.resize(240, 26);
    const QImage shot = list.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 13), skin::Frame);
    EXPECT_EQ(shot.pixelColor(239, 13), skin::Frame);
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(120, 2), QColor(Qt::white));
}

}  // namespace
}  // namespace zelvo
