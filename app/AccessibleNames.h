#pragma once

#include "platform/raster/Color.h"

#include <QString>
#include <functional>

class QWidget;
struct TMainControls;

// What a screen reader calls the main window's controls, the cells of its grids and its
// three panes. The grids and the margin fields take the captions of the labels beside
// them; every other text is here.
class TAccessibleNames {
public:
    // Names the window's controls; background gives the logo's background colour as the
    // text grid's cell names it.
    static void Apply(QWidget& window, TMainControls& form, std::function<TColor()> background);
    // Tells a screen reader that the names showing a colour or a size changed, as they may
    // after every build.
    static void LogoShown(TMainControls& form);

    // The cells, numbered as SelectedCell is; an empty text for any other number.
    static QString MixCell(int cell);
    static QString DirectionCell(int cell);
    // A colour cell with the colour it holds now; a text cell with the font or colour.
    static QString ColorCell(int cell, TColor color);
    static QString TextCell(int cell, const QString& fontName, TColor background);
    // A colour as a listener hears it: its red, green and blue amounts.
    static QString ColorName(TColor color);
};
