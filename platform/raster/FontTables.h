#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The values a face takes from its font's own OpenType tables, read from the tables'
// bytes as the font file holds them (big-endian), so that reading them needs no file
// and no FreeType. All values are in font units.
//
// Error policy: nothing is read outside the bytes given. A field that does not lie
// wholly inside its table (the table missing, cut short, or of an older and shorter
// version) is absent; the advance list ends at the last advance the table holds,
// whatever count hhea gives.
struct TFontTables {
    using TBytes = std::span<const unsigned char>;

    // The tables as the file holds them; a table the font lacks is empty.
    struct TSource {
        TBytes Head;
        TBytes Hhea;
        TBytes Hmtx;
        TBytes Os2;
        TBytes Post;
    };

    static TFontTables Read(const TSource& source);

    // head.unitsPerEm. Never below 16, the least the format allows, so that a font
    // without the field (or with 0 in it) never has its units divided by zero.
    int UnitsPerEm = 16;
    // The advanceWidth of each of hhea.numberOfHMetrics longHorMetric records of hmtx.
    std::vector<std::uint16_t> AdvanceUnits;
    std::optional<int> WinAscent;         // OS/2.usWinAscent
    std::optional<int> WinDescent;        // OS/2.usWinDescent, positive below the baseline
    std::optional<int> AverageCharWidth;  // OS/2.xAvgCharWidth
    std::optional<int> StrikeoutSize;     // OS/2.yStrikeoutSize, the bar's thickness
    std::optional<int> StrikeoutPosition; // OS/2.yStrikeoutPosition, the bar's centre above the baseline
    std::optional<int> UnderlinePosition; // post.underlinePosition, the bar's centre, negative below the baseline
    std::optional<int> UnderlineThickness; // post.underlineThickness
};
