#include "components/widgets/ManyBtnAccessible.h"

#include "AccessibilityRecorder.h"
#include "components/widgets/ManyBtn.h"
#include "platform/base/Strings.h"
#include "platform/widgets/QtText.h"

#include <QAccessibleActionInterface>
#include <QGroupBox>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A grid of the mix selector's shape inside a group box, as on the main window.
struct TGrid {
    explicit TGrid(bool radio, const QStringList& captions = {"A", "B", "C", "D"})
    {
        TManyBtnAccessible::Install();
        Group.setTitle(QStringLiteral("Group title"));
        Group.resize(100, 100);
        Button = new TManyBtn(&Group);
        Button->SetBounds(8, 32, 57, 49);
        Button->SetCols(2);
        TStringList list(ToTextList(captions));
        Button->SetCaptions(list);
        Button->SetAllowRadio(radio);
        Button->setToolTip(QStringLiteral("The hint"));
    }
    QAccessibleInterface* Interface() const { return QAccessible::queryAccessibleInterface(Button); }

    QGroupBox Group;
    TManyBtn* Button;
};

TEST(ManyBtnAccessibleTest, ARadioGridIsAGroupOfRadioButtonsOneACell)
{
    TGrid grid(true);
    grid.Button->SetSelectedCell(3);
    grid.Button->setAccessibleName(QStringLiteral("Mix"));
    grid.Button->OnGetCellName = [](int cell) { return cell == 2 ? QStringLiteral("B on white") : QString(); };
    QAccessibleInterface* group = grid.Interface();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->role(), QAccessible::Grouping);
    EXPECT_EQ(group->text(QAccessible::Name), QStringLiteral("Mix"));
    EXPECT_EQ(group->text(QAccessible::Description), QStringLiteral("The hint"));
    ASSERT_EQ(group->childCount(), 4);
    const QStringList names{"A", "B on white", "C", "D"};
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        QAccessibleInterface* cell = group->child(index);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(group->child(index), cell) << "a cell keeps its interface";
        EXPECT_EQ(group->indexOfChild(cell), index);
        EXPECT_EQ(cell->parent(), group);
        EXPECT_EQ(cell->role(), QAccessible::RadioButton);
        EXPECT_EQ(cell->text(QAccessible::Name), names[index]);
        EXPECT_TRUE(cell->state().checkable);
        EXPECT_EQ(bool(cell->state().checked), index == 2);
        EXPECT_FALSE(cell->state().focused) << "the grid has no focus";
    }
    EXPECT_EQ(group->child(4), nullptr);
}

TEST(ManyBtnAccessibleTest, AGridWithoutANameIsCalledByItsHintNotByItsGroupBox)
{
    TGrid grid(true);
    EXPECT_EQ(grid.Interface()->text(QAccessible::Name), QStringLiteral("The hint"));
}

TEST(ManyBtnAccessibleTest, PushCellsArePushButtonsThatTheirActionPresses)
{
    TGrid grid(false, {"1", "2"});
    int pressed = 0;
    grid.Button->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { pressed = grid.Button->SelectedCell(); };
    QAccessibleInterface* cell = grid.Interface()->child(1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Button);
    EXPECT_FALSE(cell->state().checkable);
    QAccessibleActionInterface* actions = cell->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pressed, 2);
}

TEST(ManyBtnAccessibleTest, CellsLieWhereTheyAreDrawnAndAShorterGridDropsItsCells)
{
    TGrid grid(true);
    grid.Group.show();
    QAccessibleInterface* group = grid.Interface();
    const QPoint origin = grid.Button->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(group->child(3)->rect(), QRect(origin + QPoint(28, 24), QSize(28, 24)));
    EXPECT_EQ(group->childAt(origin.x() + 5, origin.y() + 30), group->child(2));
    EXPECT_EQ(group->childAt(origin.x() + 56, origin.y() + 5), nullptr) << "the margin holds no cell";
    QAccessibleInterface* last = group->child(3);
    TStringList shorter(ToTextList(QStringList{"A", "B"}));
    grid.Button->SetCaptions(shorter);
    EXPECT_EQ(group->childCount(), 2);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(group->indexOfChild(last), -1);
}

TEST(ManyBtnAccessibleTest, AMovedChoiceIsReportedAsCheckedStatesAndTheFocus)
{
    TGrid grid(true);
    grid.Group.show();
    grid.Group.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid.Group));
    TAccessibilityRecorder recorder;
    ASSERT_TRUE(QAccessible::isActive());
    grid.Button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(grid.Button->hasFocus());
    QAccessibleInterface* group = grid.Interface();
    EXPECT_EQ(group->focusChild(), group->child(0));
    EXPECT_TRUE(group->child(0)->state().focused);
    recorder.Clear();
    QTest::keyClick(grid.Button, Qt::Key_Right);
    const auto states = recorder.Of(QAccessible::StateChanged, grid.Button);
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].Child, 0);
    EXPECT_EQ(states[1].Child, 1);
    EXPECT_TRUE(states[0].Changed.checked && states[1].Changed.checked);
    const auto focus = recorder.Of(QAccessible::Focus, grid.Button);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].Child, 1);
    EXPECT_TRUE(group->child(1)->state().checked);
    EXPECT_TRUE(group->child(1)->state().focused);
    EXPECT_FALSE(group->child(0)->state().checked);
}

TEST(ManyBtnAccessibleTest, TheFocusMovingInAPushGridIsReported)
{
    TGrid grid(false, {"1", "2"});
    grid.Group.show();
    grid.Group.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid.Group));
    TAccessibilityRecorder recorder;
    recorder.Press(grid.Button, Qt::Key_Right);
    const auto focus = recorder.Of(QAccessible::Focus, grid.Button);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].Child, 1);
    EXPECT_TRUE(recorder.Of(QAccessible::StateChanged, grid.Button).empty()) << "nothing is checked in a push grid";
}

// Qt reports the grid's own focus after the focus-in event; a reader keeps the object
// focused last, so the cell must come after the grid, in either kind of grid.
TEST(ManyBtnAccessibleTest, TabIntoAGridReportsItsFocusedCellLast)
{
    for (const bool radio : {true, false}) {
        SCOPED_TRACE(radio ? "radio" : "push");
        TGrid grid(radio);
        grid.Group.show();
        grid.Group.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid.Group));
        // The window gave the grid the focus as it opened.
        grid.Button->clearFocus();
        QCoreApplication::processEvents();
        TAccessibilityRecorder recorder;
        grid.Button->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        std::vector<int> children;
        for (const auto& update : recorder.Of(QAccessible::Focus, grid.Button))
            children.push_back(update.Child);
        EXPECT_EQ(children, (std::vector<int>{-1, 0}));
    }
}

} // namespace
