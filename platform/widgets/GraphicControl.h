#pragma once

#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"
#include "platform/widgets/Events.h"
#include "platform/raster/Font.h"
#include "platform/widgets/QtText.h"

#include <QAccessible>
#include <QString>
#include <QWidget>
#include <functional>

// The base of windowless controls. The control draws through its Canvas onto a backing
// bitmap of its own size; a paint of the widget shows that bitmap. Invalidate asks for
// Paint in the next paint cycle, Repaint runs it at once. Mouse input arrives in control
// coordinates; the control that took a press keeps the moves and the release, and a
// double click arrives as a further press. A control that takes the keyboard focus shows
// it with a dotted focus rectangle drawn over its picture on the screen, never into it.
class TGraphicControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE SetFontHeight)
    Q_PROPERTY(int FontStyle READ FontStyle WRITE SetFontStyle)
    Q_PROPERTY(qlonglong FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(int FontCharset READ FontCharset WRITE SetFontCharset)

public:
    explicit TGraphicControl(QWidget* parent = nullptr);
    ~TGraphicControl() override;

    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Width() const { return width(); }
    void SetWidth(int width) { resize(width, height()); }
    int Height() const { return height(); }
    void SetHeight(int height) { resize(width(), height); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }

    // The canvas onto the control's own area, (0, 0) at its top-left corner.
    TCanvas& Canvas();
    void Invalidate();
    void Repaint();
    // True from an invalidate until the next paint.
    bool PaintPending() const { return FPaintPending; }

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Stored-form access to the font, one attribute a property.
    QString FontName() const { return ToQString(FFont.Name()); }
    void SetFontName(const QString& name) { FFont.SetName(ToText(name)); }
    int FontHeight() const { return FFont.Height(); }
    void SetFontHeight(int height) { FFont.SetHeight(height); }
    int FontStyle() const { return static_cast<int>(FFont.Style()); }
    void SetFontStyle(int style) { FFont.SetStyle(static_cast<TFontStyles>(style)); }
    qlonglong FontColor() const { return FFont.Color(); }
    void SetFontColor(qlonglong color) { FFont.SetColor(static_cast<TColor>(color)); }
    int FontCharset() const { return FFont.Charset(); }
    void SetFontCharset(int charset) { FFont.SetCharset(charset); }

    // The font every new control starts with (the application's window font).
    static TFont& DefaultFont();

    // What a screen reader is told: the kind of control, and the text it shows, read as
    // its name when it has no name of its own.
    virtual QAccessible::Role AccessibleRole() const { return QAccessible::Client; }
    virtual QString ShownText() const { return QString(); }
    // Where the focus rectangle goes while the control has the focus.
    virtual TRect FocusRect() const { return Rect(0, 0, Width(), Height()); }

protected:
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void TextChanged() {}
    virtual void FontChanged() { Invalidate(); }

    // The backing bitmap behind Canvas().
    const TBitmap& Surface() const { return FSurface; }
    // A see-through control starts every paint on a transparent surface, so wherever it
    // draws nothing its parent shows through; an opaque one covers its whole area.
    void SetSeeThrough(bool seeThrough);
    // The system colours the control draws with: the display ones (the default, for
    // controls that are part of the window's look), or the classic ones for a control
    // that shows a logo's own colours.
    void SetSystemColors(TSystemColorTable table);
    // The display colours changed with the desktop's palette; the control paints again.
    virtual void SystemColorsChanged() { Invalidate(); }

public:
    // How the surface meets a screen whose device pixels are not the control's pixels:
    // scaled with the screen (the default, for controls drawn for the screen), or
    // pixel-exact, each surface pixel a whole number of device pixels: the largest whole
    // zoom not above the screen's ratio, the rest of the control in the face colour.
    enum TScreenScaling : unsigned char { ssScaled, ssPixelExact };
    void SetScreenScaling(TScreenScaling scaling);
    // The whole number of device pixels a surface pixel takes at a device pixel ratio.
    static int PixelExactZoom(qreal devicePixelRatio);

protected:

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The face colour of the surface, in the system colours the control draws with.
    std::uint32_t FacePixel() const;
    // Sizes the surface to the control, cleared; true when it had to.
    bool EnsureSurface();
    void ClearSurface();
    void PaintSurface();

    QString FCaption;
    TFont FFont;
    TBitmap FSurface;
    bool FPaintPending = true;
    bool FSeeThrough = false;
    TScreenScaling FScreenScaling = ssScaled;
};
