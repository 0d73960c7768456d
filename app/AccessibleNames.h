#pragma once

#include "platform/raster/Color.h"

#include <QString>

class TForm1;

// What a screen reader calls the main window's controls, the cells of its grids and its
// three panes. The grids and the margin fields take the captions of the labels beside
// them; every other text is here.
class TAccessibleNames {
public:
    // Names the controls of form and keeps the names that show a colour or a size current
    // after every build.
    static void Apply(TForm1& form);

    // The cells, numbered as SelectedCell is; an empty text for any other number.
    static QString MixCell(int cell);
    static QString DirectionCell(int cell);
    // A colour cell with the colour it holds now; a text cell with the font or colour.
    static QString ColorCell(int cell, TColor color);
    static QString TextCell(int cell, const QString& fontName, TColor background);
    // A colour as a listener hears it: its red, green and blue amounts.
    static QString ColorName(TColor color);
};
