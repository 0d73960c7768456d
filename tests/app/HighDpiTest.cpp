// The panes on a screen whose scale is not one: run with QT_SCALE_FACTOR set (the test
// list registers this binary once a scale). Each logo pixel must take a whole, equal
// number of device pixels, so the preview shows the logo undistorted.
#include "Form1TestSupport.h"

#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SpinEdit.h"

#include <QPixmap>
#include <cmath>

namespace {

// The logo enlarged by a whole zoom, each pixel a zoom x zoom block.
QImage Enlarged(const QImage& logo, int zoom)
{
    return logo.scaled(logo.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Whether the image holds the block at or within a device pixel of the place.
bool HoldsNear(const QImage& image, const QImage& block, QPoint place)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QRect at(place + QPoint(dx, dy), block.size());
            if (image.rect().contains(at) && image.copy(at) == block)
                return true;
        }
    }
    return false;
}

TEST_F(Form1Fixture, EachLogoPixelTakesTheSameWholeNumberOfDevicePixels)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("3"));
    form.EdVs->SetText(QStringLiteral("5"));
    const qreal ratio = form.devicePixelRatioF();
    ASSERT_GT(ratio, 1.0) << "run with QT_SCALE_FACTOR above 1";
    const int zoom = static_cast<int>(std::floor(ratio + 1e-4));
    const QImage window = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (TImage* pane : {static_cast<TImage*>(form.Pbox), form.Img}) {
        const QImage logo = BitmapImageCopy(pane->Picture());
        const QPoint corner = pane->mapTo(&form, QPoint(0, 0));
        const QPoint device(qRound(corner.x() * ratio), qRound(corner.y() * ratio));
        EXPECT_TRUE(HoldsNear(window, Enlarged(logo, zoom), device))
            << "pane " << pane->objectName().toStdString() << " at scale " << ratio;
    }
}

} // namespace
