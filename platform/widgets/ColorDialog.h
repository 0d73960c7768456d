#pragma once

#include "platform/raster/Color.h"
#include "platform/widgets/CommonDialog.h"

#include <functional>

#include <QString>

// Picks a colour with the basic and custom colours shown. The dialog is called by the
// colour it sets when it is told which ("背景色"), so a listener knows what is chosen.
class TColorDialog : public TCommonDialog {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    // The colour the dialog sets, shown as its caption; empty for a colour in general.
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }

    bool Execute(QWidget* owner = nullptr) override;

    static std::function<bool(TColorDialog& dialog)> Answerer;

private:
    TColor FColor = clBlack;
    QString FTitle;
};
