#pragma once

#include "platform/raster/Color.h"
#include "platform/widgets/CommonDialog.h"

#include <functional>

// Picks a colour with the basic and custom colours shown.
class TColorDialog : public TCommonDialog {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }

    bool Execute(QWidget* owner = nullptr) override;

    static std::function<bool(TColorDialog& dialog)> Answerer;

private:
    TColor FColor = clBlack;
};
