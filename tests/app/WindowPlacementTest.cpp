#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

const QRect Left(0, 0, 1400, 900);
const QRect Right(1400, 0, 1920, 1080);

TEST(WindowPlacementTest, AWindowWithItsTitleBarAndMostOfItShownStaysWhereItIs)
{
    for (const QPoint corner : {QPoint(30, 40), QPoint(1200, 500), QPoint(1390, 880), QPoint(-100, -5)}) {
        SCOPED_TRACE(corner.x());
        EXPECT_EQ(TWindowPlacement::VisiblePosition(QRect(corner, QSize(328, 310)), 24, {Left, Right}), corner);
    }
}

TEST(WindowPlacementTest, AWindowOffEveryScreenMovesOntoTheScreenHoldingMostOfIt)
{
    struct TCase {
        QPoint Stored;
        QPoint Shown;
    };
    const TCase cases[] = {
        {{-3, -30}, {0, 0}},         // the title bar above the screen
        {{3000, 2000}, {1072, 590}},      // on no screen: the nearest place on the primary one
        {{3200, 100}, {3320 - 328, 100}}, // mostly right of the right-hand screen
        {{1390, 1000}, {1400, 770}},      // its corner below the left screen, most of it off both
        {{2000, -20}, {2000, 0}},         // most of the title bar above the right-hand screen
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Stored.x());
        EXPECT_EQ(TWindowPlacement::VisiblePosition(QRect(c.Stored, QSize(328, 310)), 24, {Left, Right}), c.Shown);
    }
}

TEST(WindowPlacementTest, AFrameLargerThanItsScreenKeepsItsCornerOnIt)
{
    EXPECT_EQ(TWindowPlacement::VisiblePosition(QRect(-50, -50, 1600, 1000), 24, {Left}), QPoint(0, 0));
}

TEST(WindowPlacementTest, TheClientAreaGrowsUpToWhatTheScreenHoldsWithTheFrame)
{
    EXPECT_EQ(TWindowPlacement::LimitedClientSize(QSize(600, 400), QSize(1400, 868), QSize(8, 30)), QSize(600, 400));
    EXPECT_EQ(TWindowPlacement::LimitedClientSize(QSize(1454, 400), QSize(1400, 868), QSize(8, 30)), QSize(1392, 400));
    EXPECT_EQ(TWindowPlacement::LimitedClientSize(QSize(600, 2000), QSize(1400, 868), QSize(8, 30)), QSize(600, 838));
    EXPECT_EQ(TWindowPlacement::LimitedClientSize(QSize(600, 400), QSize(), QSize(8, 30)), QSize(600, 400))
        << "no screen: no limit";
}

} // namespace
