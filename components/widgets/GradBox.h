#pragma once

#include "platform/raster/Color.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/raster/Types.h"

#include "components/gradient/GradientFill.h"

#include <cstdint>

enum TFontStyle3D : std::uint8_t { fsLowShadow = 0, fsRaiseShadow = 1, fsLow3D = 2, fsRaise3D = 3 };

// A windowless control filled with a 256-step two-colour gradient in one of four
// directions, optionally framed, with its caption drawn plainly or in a 3D style.
class TGradBox : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int CaptionLeft READ CaptionLeft WRITE SetCaptionLeft)
    Q_PROPERTY(int CaptionTop READ CaptionTop WRITE SetCaptionTop)
    Q_PROPERTY(qlonglong TopColor READ TopColorProperty WRITE SetTopColorProperty)
    Q_PROPERTY(qlonglong LastColor READ LastColorProperty WRITE SetLastColorProperty)
    Q_PROPERTY(qlonglong OutLineColor READ OutLineColorProperty WRITE SetOutLineColorProperty)
    Q_PROPERTY(bool DrawOutLine READ DrawOutLine WRITE SetDrawOutLine)
    Q_PROPERTY(int GradStyle READ GradStyleProperty WRITE SetGradStyleProperty)
    Q_PROPERTY(bool Font3D READ Font3D WRITE SetFont3D)
    Q_PROPERTY(int FontDepth READ FontDepth WRITE SetFontDepthProperty)
    Q_PROPERTY(int Style3D READ Style3DProperty WRITE SetStyle3DProperty)
    Q_PROPERTY(qlonglong BackFont READ BackFontProperty WRITE SetBackFontProperty)

public:
    explicit TGradBox(QWidget* parent = nullptr);

    QAccessible::Role AccessibleRole() const override { return QAccessible::Graphic; }

    int CaptionLeft() const { return FCaptionLeft; }
    void SetCaptionLeft(int value);
    int CaptionTop() const { return FCaptionTop; }
    void SetCaptionTop(int value);
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor value);
    TColor LastColor() const { return FLastColor; }
    void SetLastColor(TColor value);
    TColor OutLineColor() const { return FOutLineColor; }
    void SetOutLineColor(TColor value);
    bool DrawOutLine() const { return FDrawOutLine; }
    void SetDrawOutLine(bool value);
    TGradStyle GradStyle() const { return FGradStyle; }
    void SetGradStyle(TGradStyle value);
    bool Font3D() const { return FFont3D; }
    void SetFont3D(bool value);
    std::uint8_t FontDepth() const { return FFontDepth; }
    void SetFontDepth(std::uint8_t value);
    TFontStyle3D Style3D() const { return FStyle3D; }
    void SetStyle3D(TFontStyle3D value);
    TColor BackFont() const { return FBackFont; }
    void SetBackFont(TColor value);

    const TColorTable& ColorTable() const { return FColorTable; }

    // Fires at the end of every paint, after the gradient, the frame and the caption.
    TNotifyEvent OnPaint;

    // The box paints its gradient with these; the logo composer uses the same code.
    static void GetRGB(TColor color, int& red, int& green, int& blue) { TGradientFill::GetRGB(color, red, green, blue); }
    static void MakeColorTable(TColor topColor, TColor lastColor, TGradStyle style, TColorTable& table)
    {
        TGradientFill::MakeColorTable(topColor, lastColor, style, table);
    }

    // The caption rectangle: from (CaptionLeft, CaptionTop) to the box's right and
    // bottom edges in its parent's coordinates.
    TRect CaptionRect() const;

protected:
    void Paint() override;
    void TextChanged() override;

private:
    void DrawCaption(TCanvas& canvas, const TRect& captionRect);
    void DrawCaptionAt(TCanvas& canvas, TRect rect, int dx, int dy);

    qlonglong TopColorProperty() const { return FTopColor; }
    void SetTopColorProperty(qlonglong value) { SetTopColor(static_cast<TColor>(value)); }
    qlonglong LastColorProperty() const { return FLastColor; }
    void SetLastColorProperty(qlonglong value) { SetLastColor(static_cast<TColor>(value)); }
    qlonglong OutLineColorProperty() const { return FOutLineColor; }
    void SetOutLineColorProperty(qlonglong value) { SetOutLineColor(static_cast<TColor>(value)); }
    qlonglong BackFontProperty() const { return FBackFont; }
    void SetBackFontProperty(qlonglong value) { SetBackFont(static_cast<TColor>(value)); }
    int GradStyleProperty() const { return FGradStyle; }
    void SetGradStyleProperty(int value);
    int Style3DProperty() const { return FStyle3D; }
    void SetStyle3DProperty(int value);
    void SetFontDepthProperty(int value);

    int FCaptionLeft = 10;
    int FCaptionTop = 10;
    TColor FBackFont = 0x0000FFFF;
    TColor FTopColor = TGradientFill::DefaultTopColor;
    TColor FLastColor = TGradientFill::DefaultLastColor;
    TColor FOutLineColor = 0x00000000;
    bool FFont3D = false;
    bool FDrawOutLine = false;
    std::uint8_t FFontDepth = 1;
    TFontStyle3D FStyle3D = fsRaise3D;
    TGradStyle FGradStyle = gsTopBottom;
    TColorTable FColorTable{};
};
