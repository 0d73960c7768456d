#pragma once

#include "platform/raster/Color.h"
#include "platform/raster/Font.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QColor;
class QWidget;

// The standard dialogs of the program: colour, font and save file. Each is a value
// that holds its setting, Execute shows the dialog modally and, only on OK, stores the
// user's choice back. When a kind's Answerer is set, Execute asks it instead of
// showing anything: it may change the dialog's setting and returns true for OK.
class TCommonDialog {
public:
    virtual ~TCommonDialog() = default;
    virtual bool Execute(QWidget* owner = nullptr) = 0;
};

// 0x00BBGGRR (system colours resolved) as an opaque QColor, and back.
QColor ColorToQColor(TColor color);
TColor QColorToColor(const QColor& color);

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

// A filter in the "description|pattern|description|pattern" form, patterns separated
// by ";", as Qt name filters: "bmpファイル|*.bmp" gives "bmpファイル (*.bmp)". A
// description without a pattern is dropped.
QStringList QtNameFilters(const QString& filter);

// Asks for the name of a file to write. The dialog opens in FileName's folder with its
// name preset and does not ask before an existing file is chosen; on OK FileName is
// the chosen file's full path.
class TSaveDialog : public TCommonDialog {
public:
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& fileName) { FFileName = fileName; }
    const QString& Filter() const { return FFilter; }
    void SetFilter(const QString& filter) { FFilter = filter; }
    // The filter shown when the dialog opens, counted from 1; on OK, the one the user
    // had chosen.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }
    // The window title; empty gives "名前を付けて保存".
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }

    bool Execute(QWidget* owner = nullptr) override;

    static std::function<bool(TSaveDialog& dialog)> Answerer;

private:
    QString FFileName;
    QString FFilter;
    int FFilterIndex = 1;
    QString FTitle;
};
