#pragma once

#include "platform/Font.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QString>
#include <QVector>
#include <memory>
#include <vector>

class QPainter;

// A font realised the way the old Windows text calls realised it: metrics from the
// face's OS/2 Windows ascent and descent, advances rounded per glyph, no kerning and
// no ligatures. All metrics are in whole pixels. Faces are cached; For() hands out a
// shared one.
class TFontFace {
public:
    static const TFontFace& For(const TFont& font);

    int Em() const { return FEm; }
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    int Height() const { return FAscent + FDescent; }
    int AveCharWidth() const { return FAveCharWidth; }
    bool IsSymbol() const { return FSymbol; }

    // Sum of the glyph advances of the text set as one line.
    int TextWidth(const QString& text) const;
    // Advance of every character (code point) of the text, in order.
    std::vector<int> Advances(const QString& text) const;
    // Draws one line with the top-left of its cell at (x, y) in the painter's pen colour,
    // underline and strike-out bars included. Returns the line's width.
    int DrawLine(QPainter& painter, int x, int y, const QString& text) const;

    struct TFace;

private:
    struct TGlyphs {
        std::vector<int> FaceOfGlyph; // index into FFaces
        QVector<quint32> Glyphs;
        std::vector<int> Advances;
    };

    TFontFace(const TFont& font);
    TGlyphs Shape(const QString& text) const;
    QString CodesFor(const QString& text) const;
    void DrawBar(QPainter& painter, int x, int width, int centreY, int thickness) const;

    const TFace& Face(std::size_t index) const;

    // The face itself first, then the fallbacks, each made when first needed.
    mutable std::vector<std::shared_ptr<TFace>> FFaces;
    std::vector<QString> FFallbackFamilies;
    int FEm = 0;
    int FAscent = 0;
    int FDescent = 0;
    int FAveCharWidth = 0;
    int FUnderlineOffset = 0; // centre below the baseline
    int FUnderlineThickness = 1;
    int FStrikeOutOffset = 0; // centre above the baseline
    int FStrikeOutThickness = 1;
    bool FSymbol = false;
    TFontStyles FStyle = 0;
};
