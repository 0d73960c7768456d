#include "platform/widgets/BitmapImage.h"
#include "components/widgets/ManyBtn.h"

#include "components/widgets/AutoCaptions.h"
#include "components/widgets/CellGrid.h"
#include "platform/raster/Canvas.h"
#include "platform/base/Exception.h"
#include "platform/widgets/FormLoader.h"
#include "platform/widgets/QtText.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const TColor Face = ColorToRGB(clBtnFace);
const TColor Shadow = ColorToRGB(clBtnShadow);
const TColor Highlight = ColorToRGB(clBtnHighlight);
constexpr TColor Red = 0x000000FF;

std::unique_ptr<TManyBtn> MakeButton(int width, int height, const QStringList& captions, int cols, bool radio = false)
{
    auto button = std::make_unique<TManyBtn>();
    button->SetBounds(0, 0, width, height);
    button->SetCols(cols);
    TStringList list(ToTextList(captions));
    button->SetCaptions(list);
    button->SetAllowRadio(radio);
    button->Repaint();
    return button;
}

// The mix selector of the main window: 57 x 49, cells A to D in two columns.
std::unique_ptr<TManyBtn> MixSelector(bool radio = false)
{
    return MakeButton(57, 49, {"A", "B", "C", "D"}, 2, radio);
}

void SendMouse(TManyBtn& button, QEvent::Type type, int x, int y, Qt::MouseButton which, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(x, y), QPointF(x, y), which, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &event);
}

void Press(TManyBtn& button, int x, int y, Qt::MouseButton which = Qt::LeftButton)
{
    SendMouse(button, QEvent::MouseButtonPress, x, y, which, which);
}

void MoveHeld(TManyBtn& button, int x, int y)
{
    SendMouse(button, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton);
}

void Release(TManyBtn& button, int x, int y)
{
    SendMouse(button, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
}

TColor ScreenPixel(TManyBtn& button, int x, int y)
{
    return button.Canvas().Pixel(x, y);
}

// The top-left pixel of a cell: highlight while the cell is raised, shadow while pressed.
TColor CornerOf(TManyBtn& button, int cell, TSize cellSize = TSize{28, 24})
{
    const TRect rect = GridCellRect(cell, button.Cols(), cellSize);
    return ScreenPixel(button, rect.Left, rect.Top);
}

// The bounds of the pixels inside a cell's edges that differ from the face colour.
TRect InkBounds(TManyBtn& button, const TRect& cell)
{
    TRect ink{cell.Right, cell.Bottom, cell.Left, cell.Top};
    for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y) {
        for (int x = cell.Left + 1; x < cell.Right - 1; ++x) {
            if (ScreenPixel(button, x, y) == Face)
                continue;
            ink = Rect(std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1), std::max(ink.Bottom, y + 1));
        }
    }
    return ink;
}

// Everything the control's events reported, with the selection the handler saw.
struct TEventLog {
    std::vector<std::string> Lines;

    void Attach(TManyBtn& button)
    {
        button.OnMouseDown = [this, &button](QObject*, TMouseButton, TShiftState, int x, int y) {
            Lines.push_back("down " + std::to_string(x) + "," + std::to_string(y) + " cell " + std::to_string(button.SelectedCell())
                            + " " + button.Caption().toStdString());
        };
        button.OnMouseMove = [this](QObject*, TShiftState, int x, int y) {
            Lines.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        };
        button.OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int x, int y) {
            Lines.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        };
    }
};

// ---------------------------------------------------------------------------------------
// Drawing

TEST(ManyBtnDrawTest, NewControlIsOneFlatCellThatTakesNoPress)
{
    TManyBtn button;
    EXPECT_EQ(button.size(), QSize(0, 0));
    EXPECT_EQ(ToQStringList(button.Captions().ToStringList()), QStringList({""}));
    button.SetBounds(0, 0, 20, 10);
    button.SetBackColor(Red);
    button.Repaint();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(ScreenPixel(button, x, y), Red) << x << "," << y;
    TEventLog log;
    log.Attach(button);
    Press(button, 5, 5);
    EXPECT_EQ(log.Lines, std::vector<std::string>());
    EXPECT_EQ(ScreenPixel(button, 0, 0), Red);
}

TEST(ManyBtnDrawTest, MarginIsFaceColouredOnlyWhileMarginEraseIsOn)
{
    for (bool marginErase : {true, false}) {
        SCOPED_TRACE(marginErase);
        const auto button = MixSelector();
        button->SetBackColor(Red);
        button->SetMarginErase(marginErase);
        button->Repaint();
        const TColor margin = marginErase ? Face : Red;
        EXPECT_EQ(ScreenPixel(*button, 56, 0), margin);
        EXPECT_EQ(ScreenPixel(*button, 56, 47), margin);
        EXPECT_EQ(ScreenPixel(*button, 0, 48), margin);
        EXPECT_EQ(ScreenPixel(*button, 56, 48), margin);
        EXPECT_EQ(ScreenPixel(*button, 55, 47), Shadow); // cell 4's bottom right corner
    }
}

TEST(ManyBtnDrawTest, RaisedAndPressedEdges)
{
    // Cell 1 of the mix selector, (0, 0)-(28, 24). The bottom left corner is on
    // neither edge line and keeps the face colour.
    struct TCase { int X, Y; TColor Raised, Pressed; };
    const TCase cases[] = {
        {0, 0, Highlight, Shadow},    {26, 0, Highlight, Shadow}, {27, 0, Shadow, Highlight},
        {0, 22, Highlight, Shadow},   {0, 23, Face, Face},        {1, 23, Shadow, Highlight},
        {27, 23, Shadow, Highlight},  {27, 22, Shadow, Highlight}, {1, 1, Face, Face},
    };
    const auto raised = MixSelector(false);
    const auto pressed = MixSelector(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.X << ", " << c.Y << ")");
        EXPECT_EQ(ScreenPixel(*raised, c.X, c.Y), c.Raised);
        EXPECT_EQ(ScreenPixel(*pressed, c.X, c.Y), c.Pressed);
    }
}

TEST(ManyBtnDrawTest, GridPositionsWithoutACellShowTheBackColour)
{
    struct TCase { int Width, Height, Cols; QStringList Captions; TRect Empty; };
    const TCase cases[] = {
        {57, 49, 2, {"A", "B", "C"}, Rect(28, 24, 56, 48)},
        {40, 10, 4, {"A", "B"}, Rect(20, 0, 40, 10)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Cols);
        const auto button = MakeButton(c.Width, c.Height, c.Captions, c.Cols);
        button->SetBackColor(Red);
        button->Repaint();
        EXPECT_EQ(ScreenPixel(*button, c.Empty.Left, c.Empty.Top), Red);
        EXPECT_EQ(ScreenPixel(*button, c.Empty.Right - 1, c.Empty.Bottom - 1), Red);
        EXPECT_EQ(ScreenPixel(*button, c.Empty.Left - 1, c.Empty.Top), Shadow); // right edge of the cell before
        TEventLog log;
        log.Attach(*button);
        Press(*button, c.Empty.Left + 2, c.Empty.Top + 2);
        EXPECT_EQ(button->SelectedCell(), 1);
        EXPECT_EQ(log.Lines, std::vector<std::string>());
    }
}

TEST(ManyBtnDrawTest, CaptionThatDoesNotFitIsLeftOut)
{
    // The default font is 11 pixels high: a cell 10 high has no room, 11 just enough.
    struct TCase { QString Caption; int Width, Height; bool Drawn; };
    const TCase cases[] = {
        {"A", 28, 24, true},
        {"WWWWWWWWWW", 28, 24, false},
        {"A", 28, 11, true},
        {"A", 28, 10, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Caption.toStdString() << " in " << c.Width << "x" << c.Height);
        const auto button = MakeButton(c.Width, c.Height, {c.Caption}, 1);
        EXPECT_EQ(InkBounds(*button, Rect(0, 0, c.Width, c.Height)).IsEmpty(), !c.Drawn);
        EXPECT_EQ(ScreenPixel(*button, 0, 0), Highlight); // the edges are drawn all the same
    }
}

TEST(ManyBtnDrawTest, PressedCaptionMovesOnePixelDownRightWhenThereIsRoom)
{
    // A 14-pixel cell leaves 3 pixels of room for an 11-pixel font: no offset.
    for (int height : {24, 14}) {
        SCOPED_TRACE(height);
        const auto raised = MakeButton(28, height, {"A"}, 1, false);
        const auto pressed = MakeButton(28, height, {"A"}, 1, true);
        TRect expected = InkBounds(*raised, Rect(0, 0, 28, height));
        ASSERT_FALSE(expected.IsEmpty());
        if (height > 14)
            expected.Offset(1, 1);
        EXPECT_EQ(InkBounds(*pressed, Rect(0, 0, 28, height)), expected);
    }
}

TEST(ManyBtnDrawTest, FontGivenByCellHeightIsDrawnAsCharacterHeight)
{
    const auto byCell = MixSelector();
    const auto byCharacter = MixSelector();
    byCell->Font().SetHeight(13);
    byCharacter->Font().SetHeight(-13);
    EXPECT_EQ(BitmapImageCopy(byCell->CellImage()), BitmapImageCopy(byCharacter->CellImage()));
    EXPECT_NE(BitmapImageCopy(MixSelector()->CellImage()), BitmapImageCopy(byCharacter->CellImage())); // rebuilt at once
}

TEST(ManyBtnDrawTest, PaintOnlyCopiesTheCellImageWhileTheSizeMatches)
{
    const auto button = MixSelector();
    button->Captions().Put(0, u"X"); // a direct edit is not drawn until the image is rebuilt
    button->Canvas().Brush().SetColor(Red);
    button->Canvas().FillRect(Rect(0, 0, 57, 49));
    button->Repaint();
    EXPECT_EQ(ScreenPixel(*button, 56, 48), Face);
    EXPECT_EQ(BitmapImageCopy(button->CellImage()), BitmapImageCopy(MixSelector()->CellImage()));
    button->SetBounds(0, 0, 57, 50); // a new size rebuilds the image from the list
    button->Repaint();
    EXPECT_EQ(BitmapImageCopy(button->CellImage()), BitmapImageCopy(MakeButton(57, 50, {"X", "B", "C", "D"}, 2)->CellImage()));
}

// ---------------------------------------------------------------------------------------
// Mouse

TEST(ManyBtnMouseTest, PushPressMoveAwayMoveBackRelease)
{
    const auto button = MixSelector();
    TEventLog log;
    log.Attach(*button);

    Press(*button, 40, 5);
    EXPECT_EQ(CornerOf(*button, 2), Shadow);
    EXPECT_EQ(button->SelectedCell(), 2);
    EXPECT_EQ(button->Caption(), "B");

    MoveHeld(*button, 10, 5); // onto cell 1: cell 2 springs back, the selection stays
    EXPECT_EQ(CornerOf(*button, 2), Highlight);
    EXPECT_EQ(CornerOf(*button, 1), Highlight);
    EXPECT_EQ(button->SelectedCell(), 2);

    MoveHeld(*button, 40, 5); // back onto cell 2: not pressed again
    EXPECT_EQ(CornerOf(*button, 2), Highlight);

    Release(*button, 40, 5);
    EXPECT_EQ(CornerOf(*button, 2), Highlight);
    EXPECT_EQ(log.Lines, std::vector<std::string>({"down 40,5 cell 2 B", "move 10,5", "move 40,5", "up 40,5"}));
}

TEST(ManyBtnMouseTest, PushReleaseWithoutLeavingRaisesTheCell)
{
    const auto button = MixSelector();
    Press(*button, 5, 30);
    MoveHeld(*button, 20, 40); // still cell 3
    EXPECT_EQ(CornerOf(*button, 3), Shadow);
    Release(*button, 20, 40);
    EXPECT_EQ(CornerOf(*button, 3), Highlight);
    EXPECT_EQ(button->SelectedCell(), 3);
    EXPECT_EQ(button->Caption(), "C");
}

TEST(ManyBtnMouseTest, PushSecondPressRaisesTheHeldCell)
{
    const auto button = MixSelector();
    Press(*button, 40, 5);
    Press(*button, 5, 5, Qt::RightButton); // another button while the first is held
    EXPECT_EQ(CornerOf(*button, 2), Highlight);
    EXPECT_EQ(CornerOf(*button, 1), Shadow);
    EXPECT_EQ(button->SelectedCell(), 1);
}

TEST(ManyBtnMouseTest, PushMoveRightOfTheGridCountsAsTheNextRow)
{
    // The margin right of cell 2 reads as cell 3 and the margin row below it as cell 6;
    // a point just above cell 2 still reads as cell 2.
    struct TCase { int Held, X, Y; bool StillHeld; };
    const TCase cases[] = {
        {2, 56, 5, false}, {2, 40, 48, false}, {2, -5, -5, false}, {2, 55, 23, true}, {2, 30, -5, true},
        {3, 56, 5, true}, {3, 56, 30, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.Held << " to (" << c.X << ", " << c.Y << ")");
        const auto button = MixSelector();
        const TRect held = GridCellRect(c.Held, 2, TSize{28, 24});
        Press(*button, held.Left + 5, held.Top + 5);
        MoveHeld(*button, c.X, c.Y);
        EXPECT_EQ(CornerOf(*button, c.Held), c.StillHeld ? Shadow : Highlight);
    }
}

TEST(ManyBtnMouseTest, PressedCellIsAlsoDrawnInTheCellImage)
{
    const auto button = MixSelector();
    Press(*button, 40, 5);
    EXPECT_EQ(button->CellImage().Pixel(28, 0), Shadow);
    button->Invalidate();
    button->Repaint();
    EXPECT_EQ(CornerOf(*button, 2), Shadow);
    Release(*button, 40, 5);
    EXPECT_EQ(button->CellImage().Pixel(28, 0), Highlight);
}

TEST(ManyBtnMouseTest, RadioKeepsTheSelectedCellPressed)
{
    const auto button = MixSelector(true);
    TEventLog log;
    log.Attach(*button);
    EXPECT_EQ(CornerOf(*button, 1), Shadow);

    Press(*button, 5, 30, Qt::RightButton); // any button presses
    Release(*button, 5, 30);
    EXPECT_EQ(CornerOf(*button, 1), Highlight);
    EXPECT_EQ(CornerOf(*button, 3), Shadow);

    Press(*button, 5, 30);
    MoveHeld(*button, 40, 40);
    Release(*button, 40, 40);
    EXPECT_EQ(CornerOf(*button, 3), Shadow);
    EXPECT_EQ(CornerOf(*button, 4), Highlight);
    EXPECT_EQ(button->SelectedCell(), 3);
    EXPECT_EQ(log.Lines, std::vector<std::string>({"down 5,30 cell 3 C", "up 5,30", "down 5,30 cell 3 C", "move 40,40", "up 40,40"}));
}

TEST(ManyBtnMouseTest, PressOnAnEmptyCaptionIsIgnored)
{
    const auto button = MakeButton(57, 49, {"A", "", "C", "D"}, 2, true);
    TEventLog log;
    log.Attach(*button);
    Press(*button, 40, 5);
    EXPECT_EQ(button->SelectedCell(), 1);
    EXPECT_EQ(CornerOf(*button, 1), Shadow);
    EXPECT_EQ(log.Lines, std::vector<std::string>());
}

TEST(ManyBtnMouseTest, EveryReleaseRaisesOnMouseUp)
{
    for (const QPoint at : {QPoint(40, 5), QPoint(100, 100), QPoint(56, 48)}) {
        SCOPED_TRACE(testing::Message() << at.x() << "," << at.y());
        const auto button = MixSelector();
        TEventLog log;
        log.Attach(*button);
        Release(*button, at.x(), at.y());
        EXPECT_EQ(log.Lines, std::vector<std::string>({"up " + std::to_string(at.x()) + "," + std::to_string(at.y())}));
    }
}

TEST(ManyBtnMouseTest, NoCellIsUnderThePointerBeforeTheFirstPaintOrWhenCellsHaveNoWidth)
{
    TManyBtn fresh; // sized and captioned, but its cells are measured only at a rebuild
    fresh.SetBounds(0, 0, 57, 49);
    fresh.Captions().Put(0, u"A");
    TEventLog log;
    log.Attach(fresh);
    Press(fresh, 5, 5);
    EXPECT_EQ(fresh.Caption(), QString());
    EXPECT_EQ(log.Lines, std::vector<std::string>());

    const auto narrow = MakeButton(1, 49, {"A", "B", "C", "D"}, 2);
    Press(*narrow, 0, 0);
    MoveHeld(*narrow, 0, 30);
    Release(*narrow, 0, 30);
    EXPECT_EQ(narrow->Caption(), QString());
}

TEST(ManyBtnMouseTest, SwitchingToRadioEndsTheHeldState)
{
    const auto button = MixSelector();
    Press(*button, 40, 5);
    button->SetAllowRadio(true);
    EXPECT_EQ(CornerOf(*button, 2), Shadow);
    Release(*button, 40, 5);
    EXPECT_EQ(CornerOf(*button, 2), Shadow); // a release no longer raises it
    button->SetAllowRadio(false);
    EXPECT_EQ(CornerOf(*button, 2), Highlight);
}

// ---------------------------------------------------------------------------------------
// Selection and setters

TEST(ManyBtnSelectionTest, SelectionOutsideTheCellsIsIgnored)
{
    for (int cell : {0, -1, 5}) {
        SCOPED_TRACE(cell);
        const auto button = MixSelector(true);
        button->SetSelectedCell(2);
        button->SetSelectedCell(cell);
        EXPECT_EQ(button->SelectedCell(), 2);
        EXPECT_EQ(button->Caption(), "B");
        EXPECT_EQ(CornerOf(*button, 2), Shadow);
    }
}

TEST(ManyBtnSelectionTest, SelectionRedrawsOnlyInRadioMode)
{
    for (bool radio : {true, false}) {
        SCOPED_TRACE(radio);
        const auto button = MixSelector(radio);
        button->SetSelectedCell(4);
        EXPECT_EQ(button->Caption(), "D");
        EXPECT_EQ(CornerOf(*button, 4), radio ? Shadow : Highlight);
        EXPECT_EQ(CornerOf(*button, 1), Highlight);
    }
}

TEST(ManyBtnSelectionTest, CellsBelowTheSelectionMoveItToCellOneEvenWhenRejected)
{
    struct TCase { int Cells, ExpectedCells; QStringList Captions; };
    const TCase cases[] = {
        {0, 3, {"A", "B", "C"}},
        {2, 2, {"A", "B"}},
        {5001, 3, {"A", "B", "C"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Cells);
        const auto button = MakeButton(60, 20, {"A", "B", "C"}, 3, true);
        button->SetSelectedCell(3);
        button->SetCells(c.Cells);
        EXPECT_EQ(button->SelectedCell(), c.Cells < 3 ? 1 : 3);
        EXPECT_EQ(button->Cells(), c.ExpectedCells);
        EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), c.Captions);
    }
}

TEST(ManyBtnSelectionTest, GrowingCellsBlanksTheNewCells)
{
    const auto button = MakeButton(40, 20, {"A", "B"}, 2);
    button->SetCells(4);
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"A", "B", "", ""}));
    button->SetCells(5000);
    EXPECT_EQ(button->Captions().Count(), 5000);

    TManyBtn loading; // a stored form fills the list before Cells is applied
    loading.Captions().Assign(ToTextList(QStringList{"A", "B", "C"}));
    loading.SetCells(3);
    EXPECT_EQ(ToQStringList(loading.Captions().ToStringList()), QStringList({"A", "", ""}));
}

TEST(ManyBtnSelectionTest, CellsKeepTheirValueWhenTheListWasShortenedDirectly)
{
    const auto button = MakeButton(60, 20, {"A", "B", "C"}, 3);
    button->Captions().Delete(2);
    button->Captions().Delete(1);
    EXPECT_THROW(button->SetCells(1), EStringListError);
    EXPECT_EQ(button->Cells(), 3);
}

TEST(ManyBtnSelectionTest, ColsBelowOneAreIgnored)
{
    const auto button = MixSelector();
    for (int cols : {0, -3}) {
        button->SetCols(cols);
        EXPECT_EQ(button->Cols(), 2);
    }
    button->SetCols(4);
    button->Repaint();
    EXPECT_EQ(CornerOf(*button, 4, TSize{14, 49}), Highlight);
}

TEST(ManyBtnSelectionTest, EmptyCaptionListGetsOneEmptyCaption)
{
    const auto button = MixSelector();
    TStringList empty;
    button->SetCaptions(empty);
    EXPECT_EQ(ToQStringList(empty.ToStringList()), QStringList({""}));
    EXPECT_EQ(button->Cells(), 1);
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({""}));
}

TEST(ManyBtnSelectionTest, AssignedCaptionsAreShownAndAShorterListMovesTheSelection)
{
    const auto button = MakeButton(57, 49, {"A", "B", "C", "D"}, 2, true);
    button->SetBackColor(Red);
    button->SetSelectedCell(4);
    button->SetIsAutoCaption(TManyBtn::acAbcBig);
    TStringList captions(ToTextList(QStringList{"", "X"}));
    button->SetCaptions(captions);
    button->Repaint();
    EXPECT_EQ(button->SelectedCell(), 1);
    EXPECT_EQ(button->Caption(), QString());
    EXPECT_EQ(ScreenPixel(*button, 0, 0), Red); // cell 1 is blank now
    EXPECT_EQ(CornerOf(*button, 2, TSize{28, 49}), Highlight);
    EXPECT_EQ(button->IsAutoCaption(), TManyBtn::acNone);
}

TEST(ManyBtnSelectionTest, CaptionRewritesTheSelectedCell)
{
    const auto button = MixSelector(true);
    button->SetIsAutoCaption(TManyBtn::acAbcBig);
    button->SetSelectedCell(3);
    button->SetCaption("Q");
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"A", "B", "Q", "D"}));
    EXPECT_EQ(button->Caption(), "Q");
    EXPECT_EQ(button->IsAutoCaption(), TManyBtn::acNone);
    EXPECT_EQ(CornerOf(*button, 3), Shadow);
    EXPECT_EQ(button->CellImage().Pixel(0, 24), Shadow);
}

TEST(ManyBtnSelectionTest, PropertySystemUsesTheButtonsOwnCaption)
{
    const auto button = MixSelector();
    button->SetSelectedCell(2);
    EXPECT_TRUE(button->setProperty("Caption", QStringLiteral("Z")));
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"A", "Z", "C", "D"}));
    EXPECT_EQ(button->property("Caption").toString(), "Z");
}

// ---------------------------------------------------------------------------------------
// Automatic captions

TEST(ManyBtnAutoCaptionTest, RunsStartAtTheFirstCaption)
{
    using M = TManyBtn;
    struct TCase { M::TAutoCaption Mode; QString First; QStringList Expected; };
    const TCase cases[] = {
        {M::acHKana, "か", {"か", "き", "く", "け", "こ"}},
        {M::acHKana, "ん", {"ん", "が", "ぎ", "ぐ"}},
        {M::acHKana, "ぽ", {"ぽ", "", ""}},
        {M::acHKana, "", {"あ", "い"}},
        {M::acHKana, "カ", {"あ", "い"}},
        {M::acKKana, "か", {"ア", "イ"}},
        {M::acKKana, "ヲ", {"ヲ", "ン", "ガ"}},
        {M::acHKana, "かな", {"か", "き"}},
        {M::acAbcBig, "X", {"X", "Y", "Z", ""}},
        {M::acAbcBig, "x", {"A", "B", "C", "D"}},
        {M::acAbcSmall, "x", {"x", "y", "z", ""}},
        {M::acAbcSmall, "X", {"a", "b", "c", "d"}},
        {M::acAbcBig, "Hello", {"H", "I"}},
        {M::acNumber, "7", {"7", "8", "9"}},
        {M::acNumber, "-1", {"-1", "0", "1"}},
        {M::acNumber, "007", {"7", "8", "9"}},
        {M::acNumber, "", {"1", "2", "3"}},
        {M::acNumber, "abc", {"1", "2", "3"}},
        {M::acNumber, " $1F", {"31", "32"}},
        {M::acNumber, "12 ", {"1", "2"}},
        {M::acNumber, "2147483647", {"2147483647", "-2147483648"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Mode) << " from " << c.First.toStdString());
        QStringList start(c.Expected.size(), QStringLiteral("?"));
        start[0] = c.First;
        const auto button = MakeButton(100, 20, start, 5);
        button->SetIsAutoCaption(c.Mode);
        EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), c.Expected);
        EXPECT_EQ(button->IsAutoCaption(), c.Mode);
        EXPECT_EQ(button->Caption(), c.Expected[0]);
    }
}

TEST(ManyBtnAutoCaptionTest, KanaTablesHold71EntriesEach)
{
    const QStringList hiragana = TManyBtn::AutoCaptions(TManyBtn::acHKana, "あ", 72);
    const QStringList katakana = TManyBtn::AutoCaptions(TManyBtn::acKKana, "ア", 72);
    EXPECT_EQ(hiragana[45], "ん");
    EXPECT_EQ(hiragana[70], "ぽ");
    EXPECT_EQ(hiragana[71], QString());
    EXPECT_EQ(katakana[70], "ポ");
    EXPECT_EQ(katakana[71], QString());
    for (int i = 0; i < 71; ++i) {
        SCOPED_TRACE(i);
        // Every entry starts its own run: the key matches that entry and no earlier one.
        EXPECT_EQ(TManyBtn::AutoCaptions(TManyBtn::acHKana, hiragana[i], 1), QStringList{hiragana[i]});
        EXPECT_EQ(TManyBtn::AutoCaptions(TManyBtn::acKKana, katakana[i], 1), QStringList{katakana[i]});
    }
}

TEST(ManyBtnAutoCaptionTest, NoneChangesNoCaptionButTakesTheSelectedCaption)
{
    const auto button = MixSelector();
    button->SetCaption("Q");
    button->Captions().Put(0, u"Y");
    button->SetIsAutoCaption(TManyBtn::acNone);
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"Y", "B", "C", "D"}));
    EXPECT_EQ(button->Caption(), "Y");
    button->SetIsAutoCaption(static_cast<TManyBtn::TAutoCaption>(9));
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"Y", "B", "C", "D"}));
    EXPECT_EQ(button->IsAutoCaption(), 9);
}

TEST(ManyBtnAutoCaptionTest, CaptionAfterGenerationEndsTheModeAndKeepsTheRun)
{
    const auto button = MakeButton(100, 20, {"1", "", ""}, 3);
    button->SetIsAutoCaption(TManyBtn::acNumber);
    button->SetCaption("x");
    EXPECT_EQ(button->IsAutoCaption(), TManyBtn::acNone);
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"x", "2", "3"}));
}

TEST(ManyBtnAutoCaptionTest, GeneratedCaptionsAreShownAtTheNextPaint)
{
    const auto button = MakeButton(28, 24, {""}, 1);
    button->SetIsAutoCaption(TManyBtn::acAbcBig);
    button->Repaint();
    EXPECT_EQ(ScreenPixel(*button, 0, 0), Highlight);
    EXPECT_FALSE(InkBounds(*button, Rect(0, 0, 28, 24)).IsEmpty());
}

// ---------------------------------------------------------------------------------------
// Stored forms

class ManyBtnFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterManyBtn(); }

    std::unique_ptr<QWidget> Load(const QString& properties)
    {
        QByteArray bytes = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="TManyBtn" name="Mb">
   <property name="geometry"><rect><x>8</x><y>32</y><width>57</width><height>49</height></rect></property>
%1
  </widget>
 </widget>
</ui>
)").arg(properties).toUtf8();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TFormLoader loader;
        std::unique_ptr<QWidget> form(loader.Load(buffer));
        Button = form ? form->findChild<TManyBtn*>(QStringLiteral("Mb")) : nullptr;
        return form;
    }

    TManyBtn* Button = nullptr;
};

TEST_F(ManyBtnFormTest, StoredCaptionsSurviveTheSettersThatFollowThem)
{
    const auto form = Load(QStringLiteral(R"(
   <property name="Captions"><stringlist><string>か</string><string>x</string><string>y</string><string></string></stringlist></property>
   <property name="Cells"><number>4</number></property>
   <property name="Cols"><number>2</number></property>
   <property name="BackColor"><longlong>255</longlong></property>
   <property name="IsAutoCaption"><enum>TManyBtn::acHKana</enum></property>
   <property name="AllowRadio"><bool>true</bool></property>
   <property name="Caption"><string>ん</string></property>
   <property name="MarginErase"><bool>false</bool></property>
   <property name="FCaptions"><stringlist><string>か</string><string>x</string><string>y</string><string></string></stringlist></property>
)"));
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->geometry(), QRect(8, 32, 57, 49));
    EXPECT_EQ(ToQStringList(Button->Captions().ToStringList()), QStringList({"か", "x", "y", ""}));
    EXPECT_EQ(Button->Caption(), "ん");
    EXPECT_EQ(Button->IsAutoCaption(), TManyBtn::acNone);
    EXPECT_EQ(Button->Cells(), 4);
    EXPECT_EQ(Button->Cols(), 2);
    EXPECT_EQ(Button->BackColor(), Red);
    EXPECT_TRUE(Button->AllowRadio());
    EXPECT_FALSE(Button->MarginErase());
    EXPECT_EQ(Button->SelectedCell(), 1);

    // The first paint shows the stored captions, like a control built in code.
    const auto built = MakeButton(57, 49, {"か", "x", "y", ""}, 2, true);
    built->SetBackColor(Red);
    built->SetMarginErase(false);
    Button->Repaint();
    built->Repaint();
    EXPECT_EQ(BitmapImageCopy(Button->CellImage()), BitmapImageCopy(built->CellImage()));
}

TEST_F(ManyBtnFormTest, TextSelectorLoadsAsStored)
{
    const auto form = Load(QStringLiteral(R"(
   <property name="Captions" stdset="0"><stringlist><string>Ａ</string><string>BG</string></stringlist></property>
   <property name="Cells" stdset="0"><number>2</number></property>
   <property name="Cols" stdset="0"><number>2</number></property>
   <property name="IsAutoCaption" stdset="0"><enum>TManyBtn::acNone</enum></property>
   <property name="AllowRadio" stdset="0"><bool>false</bool></property>
   <property name="Caption" stdset="0"><string>Ａ</string></property>
   <property name="FCaptions" stdset="0"><stringlist><string>Ａ</string><string>BG</string></stringlist></property>
)"));
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(ToQStringList(Button->Captions().ToStringList()), QStringList({"Ａ", "BG"}));
    EXPECT_EQ(Button->Caption(), "Ａ");
    EXPECT_EQ(Button->BackColor(), clBtnFace);
    EXPECT_EQ(Button->property("FCaptions").toStringList(), QStringList({"Ａ", "BG"}));
}

TEST_F(ManyBtnFormTest, WithoutFCaptionsTheCellsSetterBlanksTheStoredCaptions)
{
    const auto form = Load(QStringLiteral(R"(
   <property name="Captions"><stringlist><string>A</string><string>B</string><string>C</string></stringlist></property>
   <property name="Cells"><number>3</number></property>
)"));
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(ToQStringList(Button->Captions().ToStringList()), QStringList({"A", "", ""}));
}

TEST_F(ManyBtnFormTest, FCaptionsOnlyReplacesTheList)
{
    const auto button = MixSelector(true);
    button->SetSelectedCell(2);
    const QImage before = BitmapImageCopy(button->CellImage());
    EXPECT_TRUE(button->setProperty("FCaptions", QStringList{"1", "2"}));
    EXPECT_EQ(ToQStringList(button->Captions().ToStringList()), QStringList({"1", "2"}));
    EXPECT_EQ(button->Cells(), 4);
    EXPECT_EQ(button->SelectedCell(), 2);
    EXPECT_EQ(button->Caption(), "B");
    EXPECT_EQ(BitmapImageCopy(button->CellImage()), before);
}

// ---------------------------------------------------------------------------------------
// Keyboard

TEST(ManyBtnKeyboardTest, ArrowsInARadioGroupSelectAsAPressOnTheCellsCentreDoes)
{
    const auto button = MixSelector(true);
    TEventLog log;
    log.Attach(*button);
    struct TStep { Qt::Key Key; int Cell; const char* Line; };
    const TStep steps[] = {
        {Qt::Key_Right, 2, "down 42,12 cell 2 B"},
        {Qt::Key_Down, 4, "down 42,36 cell 4 D"},
        {Qt::Key_Right, 1, "down 14,12 cell 1 A"},  // from the last cell to the first
        {Qt::Key_Up, 3, "down 14,36 cell 3 C"},     // from the top of the column to its bottom
        {Qt::Key_Left, 2, "down 42,12 cell 2 B"},
        {Qt::Key_End, 4, "down 42,36 cell 4 D"},
        {Qt::Key_Home, 1, "down 14,12 cell 1 A"},
        {Qt::Key_Space, 1, "down 14,12 cell 1 A"},  // pressing the selected cell again
        {Qt::Key_Return, 1, "down 14,12 cell 1 A"},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Line);
        log.Lines.clear();
        QTest::keyClick(button.get(), step.Key);
        EXPECT_EQ(button->SelectedCell(), step.Cell);
        EXPECT_EQ(button->FocusedCell(), step.Cell);
        EXPECT_EQ(log.Lines, std::vector<std::string>({step.Line}));
        for (int cell = 1; cell <= 4; ++cell)
            EXPECT_EQ(CornerOf(*button, cell), cell == step.Cell ? Shadow : Highlight) << "cell " << cell;
    }
}

TEST(ManyBtnKeyboardTest, PushCellsTakeTheFocusFromTheArrowsAndArePressedBySpaceOrEnter)
{
    const auto button = MakeButton(37, 49, {"1", "2"}, 1);
    std::vector<std::string> lines;
    button->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int x, int y) {
        lines.push_back(std::to_string(button->SelectedCell()) + " at " + std::to_string(x) + "," + std::to_string(y)
                        + (CornerOf(*button, button->SelectedCell(), TSize{37, 24}) == Shadow ? " pressed" : " raised"));
    };
    QTest::keyClick(button.get(), Qt::Key_Down);
    EXPECT_EQ(button->FocusedCell(), 2);
    EXPECT_EQ(button->SelectedCell(), 1) << "moving the focus presses nothing";
    EXPECT_TRUE(lines.empty());
    QTest::keyClick(button.get(), Qt::Key_Space);
    QTest::keyClick(button.get(), Qt::Key_Up);
    QTest::keyClick(button.get(), Qt::Key_Enter);
    EXPECT_EQ(lines, std::vector<std::string>({"2 at 18,36 pressed", "1 at 18,12 pressed"}));
    EXPECT_EQ(CornerOf(*button, 1, TSize{37, 24}), Highlight) << "the key's release raises the cell";
    EXPECT_EQ(CornerOf(*button, 2, TSize{37, 24}), Highlight);
}

TEST(ManyBtnKeyboardTest, ArrowsPassCellsWithoutACaptionAndOtherKeysGoOn)
{
    const auto button = MakeButton(60, 20, {"A", "", "C"}, 3, true);
    TEventLog log;
    log.Attach(*button);
    QTest::keyClick(button.get(), Qt::Key_Right);
    EXPECT_EQ(button->SelectedCell(), 3);
    QTest::keyClick(button.get(), Qt::Key_Left);
    EXPECT_EQ(button->SelectedCell(), 1);
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Right, Qt::ControlModifier}, std::pair{Qt::Key_A, Qt::NoModifier}}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(button.get(), &event);
        EXPECT_FALSE(event.isAccepted()) << "the key is left to the window";
    }
    EXPECT_EQ(button->SelectedCell(), 1);
    EXPECT_EQ(log.Lines.size(), 2u);
}

TEST(ManyBtnKeyboardTest, TabGivesTheFocusAndAClickLeavesItWhereItWas)
{
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* button = new TManyBtn(&window);
    button->SetBounds(0, 30, 57, 49);
    button->SetCols(2);
    TStringList list(ToTextList(QStringList{"A", "B", "C", "D"}));
    button->SetCaptions(list);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(button->SelectedCell(), 2);
    EXPECT_TRUE(field->hasFocus()) << "a click works as it always has";
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_TRUE(button->hasFocus());
}

// The focus rectangle is drawn over the cell image on the screen: every other pixel of
// the rectangle three pixels inside the focused cell inverted, and nothing else changed.
TEST(ManyBtnKeyboardTest, TheFocusedCellShowsADottedRectangleOnTheScreenOnly)
{
    const auto button = MixSelector(true);
    button->show();
    button->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(button.get()));
    QTest::keyClick(button.get(), Qt::Key_Down); // cell 3: (0, 24)-(28, 48)
    const QImage cells = BitmapImageCopy(button->CellImage());
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(focused.size(), cells.size());
    const TRect mark = Rect(3, 27, 25, 45);
    int inverted = 0;
    for (int y = 0; y < cells.height(); ++y) {
        for (int x = 0; x < cells.width(); ++x) {
            const bool onOutline = x >= mark.Left && x < mark.Right && y >= mark.Top && y < mark.Bottom
                && (x == mark.Left || x == mark.Right - 1 || y == mark.Top || y == mark.Bottom - 1);
            const QRgb expected = onOutline && (x + y) % 2 == 0 ? ~cells.pixel(x, y) | 0xFF000000u : cells.pixel(x, y);
            ASSERT_EQ(focused.pixel(x, y), expected) << x << "," << y;
            inverted += onOutline && (x + y) % 2 == 0;
        }
    }
    EXPECT_EQ(inverted, 38);
    EXPECT_EQ(BitmapImageCopy(button->CellImage()), cells) << "the mark never enters the cell image";
    button->clearFocus();
    EXPECT_EQ(button->grab().toImage().convertToFormat(QImage::Format_RGB32), cells);
}

} // namespace
