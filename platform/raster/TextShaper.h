#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct hb_font_t;

// Lays out a line whose characters do not map one to one onto glyphs set side by
// side: letters that join or reorder, combining marks, right-to-left text. The line is
// split into runs of one embedding level, one script and one font; each run is shaped
// by HarfBuzz and the runs are put in visual order by the Unicode bidirectional
// algorithm (FriBidi), the paragraph's direction taken from its first strong
// character. HarfBuzz and FriBidi are used directly rather than through libraqm:
// raqm shapes with HarfBuzz fonts made from the FreeType face for each layout, which
// call FreeType while shaping and so would hold the FreeType face's lock (shared with
// the glyph rasteriser) throughout, while the fonts here are made once per sized font
// file and shared by all threads without a lock.
// Positions are whole pixels, each advance and offset rounded on its own; the pen is
// carried in 64 bits, as a long line's advances pass what an int holds.
class TTextShaper {
public:
    struct TGlyph {
        int Font = 0;            // the font index the caller gave the glyph's characters
        std::uint32_t Glyph = 0; // glyph index in that font (0: the missing-glyph box)
        std::int64_t X = 0;      // pixels from the line's left end to the glyph's origin
        int Y = 0;               // pixels the glyph is raised above the baseline
        int Advance = 0;         // pixels the pen moves after the glyph
        bool ClusterStart = true; // the first glyph (from the left) of its cluster
    };
    struct TLine {
        std::vector<TGlyph> Glyphs; // left to right as drawn
        std::int64_t Width = 0;     // pixels: the sum of the advances
    };
    // A character's own glyph in its font and that glyph's advance in pixels, for a
    // character set on its own.
    struct TNominalGlyph {
        std::uint32_t Glyph = 0;
        int Advance = 0;
    };

    // Whether the text holds a character that must be shaped or reordered: a
    // right-to-left or embedding-control character, a combining mark, a format control,
    // or a letter of a script whose letters join, stack or reorder.
    static bool NeedsShaping(std::u32string_view codes);

    // Whether the character is one a font need not have: a format control (joiners,
    // direction marks) or a variation selector. Shaping hides such characters.
    static bool IsDefaultIgnorable(char32_t code);

    // fontOfCode gives each character's index into fonts, the HarfBuzz fonts. A font
    // HarfBuzz cannot read is null: its runs are set one glyph a character, in the run's
    // direction, from nominal (an entry for each character; glyph 0 of no width where it
    // is empty), and the characters a font need not have are hidden.
    static TLine Shape(std::u32string_view codes, std::span<const int> fontOfCode, std::span<hb_font_t* const> fonts,
                       std::span<const TNominalGlyph> nominal = {});

    // A HarfBuzz font on one face of a font file, scaled to em pixels (in 1/64 pixel
    // units), immutable and so shareable between threads; null when HarfBuzz cannot
    // read the file (it reads OpenType and TrueType, not Type 1 or bitmap-only formats).
    // Released with CloseFont.
    static hb_font_t* OpenFont(const std::string& path, int index, int em);
    static void CloseFont(hb_font_t* font);
};
