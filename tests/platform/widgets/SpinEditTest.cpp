#include "platform/widgets/SpinEdit.h"

#include "AccessibilityRecorder.h"

#include <QAccessibleValueInterface>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void SendKey(QWidget* target, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Types text as single key presses; "\b" stands for Backspace.
void Type(QWidget* target, const QString& text)
{
    for (QChar ch : text) {
        if (ch == QLatin1Char('\b'))
            SendKey(target, Qt::Key_Backspace);
        else
            SendKey(target, ch.toUpper().unicode(), QString(ch));
    }
}

void SendFocusOut(QWidget* target, Qt::FocusReason reason)
{
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QApplication::sendEvent(target, &focusOut);
}

// A field with the main window's range 0..100 that counts its change events.
struct TMarginField {
    TMarginField()
    {
        Edit.SetMinValue(0);
        Edit.SetMaxValue(100);
        Edit.OnChange = [this](QObject* sender) {
            EXPECT_EQ(sender, &Edit);
            ++Changes;
        };
    }
    void Start(const QString& text)
    {
        Edit.SetText(text);
        Changes = 0;
    }

    TSpinEdit Edit;
    int Changes = 0;
};

TEST(SpinEditTest, AScreenReaderSeesASpinBoxWithItsValueAndRange)
{
    TSpinEdit edit;
    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    edit.SetValue(7);
    edit.setAccessibleName(QStringLiteral("横"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::SpinBox);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("横"));
    EXPECT_EQ(face->childCount(), 3) << "the text and the two arrows";
    QAccessibleValueInterface* value = face->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 7);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 100);
    value->setCurrentValue(250);
    EXPECT_EQ(edit.Text(), QStringLiteral("100")) << "a value set by a screen reader is kept in range";

    TAccessibilityRecorder recorder;
    edit.StepDown();
    EXPECT_EQ(recorder.Of(QAccessible::ValueChanged, &edit).size(), 1u);
}

// Tab reaches the field itself, so a reader meets the spin button where the keys go and
// hears each arrow key's value; the text still takes what is typed.
TEST(SpinEditTest, TabFocusesTheSpinButtonWhoseArrowKeysReportTheValue)
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* edit = new TSpinEdit(&window);
    edit->move(0, 40);
    edit->SetMinValue(0);
    edit->SetMaxValue(10);
    edit->SetValue(5);
    edit->setAccessibleName(QStringLiteral("横"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TAccessibilityRecorder recorder;
    before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(before, Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(focus);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::SpinBox);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("横"));
    ASSERT_FALSE(recorder.Of(QAccessible::Focus, edit).empty()) << "the focus event names the spin button";
    ASSERT_NE(face->valueInterface(), nullptr);

    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Up, 6}, {Qt::Key_Up, 7}, {Qt::Key_Down, 6}};
    for (const auto& [key, expected] : steps) {
        SCOPED_TRACE(expected);
        recorder.Clear();
        QTest::keyClick(focus, key);
        EXPECT_EQ(recorder.Of(QAccessible::ValueChanged, edit).size(), 1u);
        EXPECT_EQ(face->valueInterface()->currentValue().toInt(), expected);
    }
    QTest::keyClicks(focus, QStringLiteral("9"));
    EXPECT_EQ(edit->Text(), QStringLiteral("69"));
    EXPECT_TRUE(edit->Editor()->hasFocus()) << "the text shows its cursor";
    ASSERT_NE(face->textInterface(), nullptr);
    EXPECT_EQ(face->textInterface()->text(0, face->textInterface()->characterCount()), QStringLiteral("69"));
}

} // namespace

TEST(SpinEditTest, ValueReadsTextInOldIntegerSyntaxElseMinimum)
{
    struct Case { QString Text; int MinValue; int Expected; };
    const Case cases[] = {
        {"", 0, 0},      {"-", 0, 0},     {"+", 0, 0},       {"1.5", 0, 0},   {"$1F", 0, 31},
        {" 7", 0, 7},    {"7 ", 0, 0},    {"250", 0, 250},   {"-5", 0, -5},   {"+12", 0, 12},
        {"", 10, 10},    {"x", 10, 10},   {"3", 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        TSpinEdit edit;
        edit.SetMinValue(c.MinValue);
        edit.SetMaxValue(100);
        edit.SetText(c.Text);
        EXPECT_EQ(edit.Value(), c.Expected);
    }
}

TEST(SpinEditTest, TypedTextStandsAsTypedAndEachKeyFiresChange)
{
    struct Case { QString Start; QString Keys; QString Text; int Changes; int Value; };
    const Case cases[] = {
        {"", "-", "-", 1, 0},
        {"", "1.5", "1.5", 3, 0},
        {"", "250", "250", 3, 250},
        {"0", "\b", "", 1, 0},
        {"12", "\b\b+", "+", 3, 0},
        {"5", "abc", "5abc", 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.Start + "/" + c.Keys).toStdString());
        TMarginField field;
        field.Start(c.Start);
        field.Edit.Editor()->end(false);
        Type(field.Edit.Editor(), c.Keys);
        EXPECT_EQ(field.Edit.Text(), c.Text);
        EXPECT_EQ(field.Changes, c.Changes);
        EXPECT_EQ(field.Edit.Value(), c.Value);
    }
}

TEST(SpinEditTest, SetValueLimitsOnlyWhenRangeIsNotEmptyAndFiresOnRealChange)
{
    struct Case { int MinValue; int MaxValue; QString Start; int Value; QString Text; int Changes; };
    const Case cases[] = {
        {0, 100, "5", 150, "100", 1}, {0, 100, "5", -3, "0", 1}, {0, 100, "5", 42, "42", 1},
        {0, 0, "5", 150, "150", 1},   {0, 0, "5", -7, "-7", 1},  {5, 5, "5", 1, "1", 1},
        {0, 100, "0", 0, "0", 0},     {0, 100, "", 0, "0", 1},   {0, 100, "07", 7, "7", 1},
        {0, 100, "100", 500, "100", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Value);
        TMarginField field;
        field.Edit.SetMinValue(c.MinValue);
        field.Edit.SetMaxValue(c.MaxValue);
        field.Start(c.Start);
        field.Edit.SetValue(c.Value);
        EXPECT_EQ(field.Edit.Text(), c.Text);
        EXPECT_EQ(field.Changes, c.Changes);
    }
}

// The main window rewrites an unreadable margin as "0" from inside OnChange; that must
// settle after one more change instead of recursing.
TEST(SpinEditTest, ZeroingFromChangeHandlerSettles)
{
    TSpinEdit edit;
    edit.SetMaxValue(100);
    edit.SetText("5");
    int changes = 0;
    edit.OnChange = [&](QObject*) {
        ++changes;
        if (edit.Value() == 0)
            edit.SetValue(0);
    };
    edit.Editor()->end(false);
    Type(edit.Editor(), "\b");
    EXPECT_EQ(edit.Text(), "0");
    EXPECT_EQ(changes, 2);
    Type(edit.Editor(), "-");
    EXPECT_EQ(edit.Text(), "0");
    EXPECT_EQ(changes, 4);
}

TEST(SpinEditTest, ArrowsAndArrowKeysStepAndStopAtBounds)
{
    enum TStep { Up, Down };
    struct Case { QString Start; TStep Step; QString Text; int Changes; };
    const Case cases[] = {
        {"99", Up, "100", 1},  {"100", Up, "100", 0}, {"250", Up, "100", 1}, {"-", Up, "1", 1},
        {"1", Down, "0", 1},   {"0", Down, "0", 0},   {"-9", Down, "0", 1},  {"abc", Down, "0", 1},
        {"$10", Up, "17", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Start.toStdString());
        for (bool byKey : {false, true}) {
            SCOPED_TRACE(byKey ? "key" : "button");
            TMarginField field;
            field.Start(c.Start);
            if (byKey) {
                SendKey(field.Edit.Editor(), c.Step == Up ? Qt::Key_Up : Qt::Key_Down);
            } else {
                const QList<QToolButton*> arrows = field.Edit.findChildren<QToolButton*>();
                ASSERT_EQ(arrows.size(), 2);
                const Qt::ArrowType wanted = c.Step == Up ? Qt::UpArrow : Qt::DownArrow;
                for (QToolButton* arrow : arrows)
                    if (arrow->arrowType() == wanted)
                        arrow->click();
            }
            EXPECT_EQ(field.Edit.Text(), c.Text);
            EXPECT_EQ(field.Changes, c.Changes);
        }
    }
}

TEST(SpinEditTest, LeavingFieldLimitsOnlyOutOfRangeValues)
{
    struct Case { QString Text; Qt::FocusReason Reason; QString After; int Changes; };
    const Case cases[] = {
        {"250", Qt::TabFocusReason, "100", 1},
        {"-5", Qt::MouseFocusReason, "0", 1},
        {"$7FFFFFFF", Qt::OtherFocusReason, "100", 1},
        {"-", Qt::TabFocusReason, "-", 0},
        {"", Qt::TabFocusReason, "", 0},
        {"50", Qt::TabFocusReason, "50", 0},
        // Switching to another window or opening a menu is no exit from the field.
        {"250", Qt::ActiveWindowFocusReason, "250", 0},
        {"250", Qt::PopupFocusReason, "250", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        TMarginField field;
        field.Start(c.Text);
        SendFocusOut(field.Edit.Editor(), c.Reason);
        EXPECT_EQ(field.Edit.Text(), c.After);
        EXPECT_EQ(field.Changes, c.Changes);
    }
}

TEST(SpinEditTest, StoredFormPropertiesSetRangeBeforeValue)
{
    TSpinEdit edit;
    edit.setProperty("MinValue", 0);
    edit.setProperty("MaxValue", 100);
    edit.setProperty("Value", 150);
    EXPECT_EQ(edit.property("Text").toString(), "100");
    edit.setProperty("Text", "$20");
    EXPECT_EQ(edit.property("Value").toInt(), 32);
}
