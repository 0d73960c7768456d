#include "platform/widgets/GraphicControl.h"

#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// A focused picture shows the dotted focus rectangle along its border on the screen,
// while the picture itself, which is what gets saved and copied, stays as drawn.
TEST(GraphicControlTest, TheFocusRectangleIsDrawnOnTheScreenAndNeverIntoThePicture)
{
    QWidget window;
    window.resize(40, 40);
    TImage& image = *new TImage(&window);
    image.SetBounds(0, 0, 9, 5);
    image.setFocusPolicy(Qt::TabFocus);
    image.Canvas().Brush().SetColor(0x00336699);
    image.Canvas().FillRect(Rect(0, 0, 9, 5));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QImage picture = BitmapImageCopy(image.Picture());
    image.clearFocus(); // the window gave its one focusable control the focus
    EXPECT_EQ(image.grab().toImage().convertToFormat(QImage::Format_RGB32), picture) << "no mark without the focus";

    image.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(image.hasFocus());
    const QImage shown = image.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb colour = picture.pixel(0, 0);
    const QRgb inverted = ~colour | 0xFF000000u;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool border = x == 0 || x == 8 || y == 0 || y == 4;
            EXPECT_EQ(shown.pixel(x, y), border && (x + y) % 2 == 0 ? inverted : colour) << x << "," << y;
        }
    }
    EXPECT_EQ(BitmapImageCopy(image.Picture()), picture);
}

} // namespace
