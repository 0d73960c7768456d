#pragma once

#include "platform/widgets/CommonDialog.h"
#include "platform/raster/Font.h"

#include <functional>

// Picks a font with face, style, size, underline, strike-out and colour.
class TFontDialog : public TCommonDialog {
public:
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& font) { FFont.Assign(font); }

    bool Execute(QWidget* owner = nullptr) override;

    static std::function<bool(TFontDialog& dialog)> Answerer;

private:
    TFont FFont;
};
