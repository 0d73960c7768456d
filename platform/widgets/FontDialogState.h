#pragma once

#include "platform/raster/Color.h"
#include "platform/raster/Font.h"

#include <QList>
#include <QString>
#include <optional>

// What the font dialog shows and edits.
struct TFontDialogState {
    QString Face;
    int Points = 0;
    TFontStyles Style = 0;
    TColor Color = clBlack;

    bool operator==(const TFontDialogState&) const = default;
};

struct TNamedColor {
    QString Name;
    TColor Color = clBlack;
};

// The dialog's view of font: its face, its size in whole points (a cell height reads
// as the same number of points as a character height), its style and its colour with
// a system colour resolved.
TFontDialogState FontDialogStateOf(const TFont& font);
// Stores the dialog's choice in font: face, Height = -MulDiv(Points, 96, 72), style,
// colour. The character set and pitch stay as they were.
void ApplyFontDialogState(const TFontDialogState& state, TFont& font);

// The style list reads 標準, 斜体, 太字, 太字 斜体; these map bold and italic to that
// list's index and back. Underline and strike-out are not part of the list.
int FontStyleIndex(TFontStyles style);
TFontStyles FontStyleOfIndex(int index);

// A size typed into the size box: a positive whole number of points whose height fits
// 32 bits, with blanks around it allowed; nothing otherwise.
std::optional<int> ParseFontPoints(const QString& text);

// The colour box's entries: the sixteen basic colours, then current under the name
// "カスタム" when it is none of them, so an unusual colour survives OK.
QList<TNamedColor> FontDialogColors(TColor current);
