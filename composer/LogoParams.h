#pragma once

#include "components/gradient/GradientFill.h"
#include "composer/TextEffects.h"
#include "platform/raster/Color.h"
#include "platform/raster/Font.h"

#include <string>

// The direction of the gradient, numbered as the direction cells and the settings file
// number it.
enum TGraType : int { gtTopBottom = 1, gtLeftRight = 2, gtBottomTop = 3, gtRightLeft = 4 };
// How the gradient layer goes over the text layer, numbered as the mix cells A to D
// and the settings file number it.
enum TMixType : int { mtSrcErase = 1, mtSrcPaint = 2, mtSrcInvert = 3, mtSrcAnd = 4 };

// The parameters of one logo.
struct TLogoParams {
    static constexpr TColor DefaultBgColor = clGray;
    static constexpr TColor DefaultTopColor = TGradientFill::DefaultTopColor;
    static constexpr TColor DefaultLastColor = TGradientFill::DefaultLastColor;
    static inline const std::u16string DefaultText = u"Vezodev";
    // The margins' limit in pixels, as the window's margin fields and the settings file hold it.
    static constexpr int MaxSpace = 100;
    // The tallest font in pixels (character or cell height): no taller text fits a logo.
    static constexpr int MaxFontHeight = 32767;

    std::u16string Text;
    TFont Font;
    TColor BgColor = DefaultBgColor;
    TColor TopColor = DefaultTopColor;
    TColor LastColor = DefaultLastColor;
    TGraType GraType = gtTopBottom;
    TMixType MixType = mtSrcErase;
    int HSpace = 0;
    int VSpace = 0;
    int Smooth = 0; // 0 plain edges; otherwise the supersampling factor of TLogoSmoother
    TTextEffects Effects;

    // The window's design values: the default text in Times New Roman bold, 29 pixels, black.
    static TLogoParams Defaults();
};
