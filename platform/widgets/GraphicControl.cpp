#include "platform/widgets/GraphicControl.h"

#include "platform/base/Store.h"
#include "platform/widgets/BitmapImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

TMouseButton ButtonOf(const QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState ShiftOf(const QMouseEvent* event)
{
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

// The classic focus rectangle: every other pixel of the outline inverted, so it shows on
// any colour beneath it.
void DrawFocusRect(QPainter& painter, const QImage& under, const TRect& rect)
{
    const QRect inside = QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)) & under.rect();
    if (inside.isEmpty())
        return;
    auto invert = [&](int x, int y) {
        if ((x + y) % 2 != 0)
            return;
        painter.setPen(QColor::fromRgb(~under.pixel(x, y) & 0xFFFFFFu));
        painter.drawPoint(x, y);
    };
    for (int x = inside.left(); x <= inside.right(); ++x) {
        invert(x, inside.top());
        if (inside.bottom() != inside.top())
            invert(x, inside.bottom());
    }
    for (int y = inside.top() + 1; y < inside.bottom(); ++y) {
        invert(inside.left(), y);
        if (inside.right() != inside.left())
            invert(inside.right(), y);
    }
}

} // namespace

TFont& TGraphicControl::DefaultFont()
{
    static TFont font;
    return font;
}

TGraphicControl::TGraphicControl(QWidget* parent)
    : QWidget(parent), FFont(DefaultFont())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FFont.OnChange = [this] { FontChanged(); };
    FSurface.Canvas().OnChange = [this] { update(); };
    FSurface.Canvas().SetSystemColors(ctDisplay);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::SetCaption(const QString& caption) { if (Store(FCaption, caption)) TextChanged(); }

bool TGraphicControl::EnsureSurface()
{
    if (FSurface.Width() == width() && FSurface.Height() == height())
        return false;
    FSurface.Reshape(width(), height());
    ClearSurface();
    return true;
}

// An opaque surface starts in the face colour and keeps what is drawn on it; a
// see-through one starts every paint transparent (alpha 0) and is shown with
// premultiplied alpha, so only what the control draws (always opaque) covers the parent.
void TGraphicControl::ClearSurface()
{
    if (FSurface.Empty())
        return;
    FSurface.Fill(FSeeThrough ? 0u : FacePixel());
}

std::uint32_t TGraphicControl::FacePixel() const
{
    return ColorToPixel(clBtnFace, FSurface.Canvas().SystemColors());
}

void TGraphicControl::SetSystemColors(TSystemColorTable table)
{
    if (FSurface.Canvas().SystemColors() == table)
        return;
    FSurface.Canvas().SetSystemColors(table);
    ClearSurface();
    Invalidate();
}

void TGraphicControl::SetSeeThrough(bool seeThrough)
{
    if (!Store(FSeeThrough, seeThrough))
        return;
    // Qt paints the parent beneath a widget only when the widget does not claim to
    // cover its area.
    setAttribute(Qt::WA_OpaquePaintEvent, !seeThrough);
    ClearSurface();
}

TCanvas& TGraphicControl::Canvas()
{
    EnsureSurface();
    return FSurface.Canvas();
}

void TGraphicControl::Invalidate()
{
    FPaintPending = true;
    update();
}

void TGraphicControl::PaintSurface()
{
    FPaintPending = false;
    if (!EnsureSurface() && FSeeThrough)
        ClearSurface();
    Paint();
}

void TGraphicControl::Repaint()
{
    PaintSurface();
    if (isVisible())
        repaint();
}

void TGraphicControl::SetScreenScaling(TScreenScaling scaling)
{
    if (Store(FScreenScaling, scaling))
        update();
}

int TGraphicControl::PixelExactZoom(qreal devicePixelRatio)
{
    // A ratio read back as 1.9999 still means two device pixels a pixel.
    return std::max(1, static_cast<int>(std::floor(devicePixelRatio + 1e-4)));
}

void TGraphicControl::paintEvent(QPaintEvent*)
{
    if (FPaintPending || FSurface.Width() != width() || FSurface.Height() != height())
        PaintSurface();
    if (FSurface.Empty())
        return;
    QPainter painter(this);
    const QImage picture = FSeeThrough ? BitmapImageWithAlpha(FSurface) : BitmapImage(FSurface);
    const qreal ratio = devicePixelRatioF();
    if (FScreenScaling == ssScaled || ratio == 1.0) {
        painter.drawImage(0, 0, picture);
    } else {
        // Drawn with the image's own ratio, the surface keeps whole device pixels; where
        // it then covers less than the control, the face colour fills the rest.
        QImage exact = picture;
        exact.setDevicePixelRatio(ratio / PixelExactZoom(ratio));
        const QSizeF shown = exact.deviceIndependentSize();
        const QColor face = QColor::fromRgb(FacePixel());
        painter.fillRect(QRectF(shown.width(), 0, width() - shown.width(), height()), face);
        painter.fillRect(QRectF(0, shown.height(), shown.width(), height() - shown.height()), face);
        painter.drawImage(QPointF(0, 0), exact);
    }
    if (hasFocus())
        DrawFocusRect(painter, picture, FocusRect());
}

void TGraphicControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TGraphicControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

// Setting the application's palette, as the window does when it follows the desktop's,
// reaches every control as a palette change.
void TGraphicControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        SystemColorsChanged();
}

void TGraphicControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FPaintPending = true;
}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y());
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event), ShiftOf(event) | ssDouble, p.x(), p.y());
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftOf(event), p.x(), p.y());
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseUp(ButtonOf(event), ShiftOf(event), p.x(), p.y());
}
