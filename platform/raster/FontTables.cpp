#include "platform/raster/FontTables.h"

#include <algorithm>

namespace {

// Offsets of the fields read, from the start of their table.
constexpr std::size_t HeadUnitsPerEm = 18;         // uint16
constexpr std::size_t HheaNumberOfHMetrics = 34;   // uint16
constexpr std::size_t HmtxRecordSize = 4;          // longHorMetric {advanceWidth uint16, lsb int16}
constexpr std::size_t Os2AvgCharWidth = 2;         // int16
constexpr std::size_t Os2StrikeoutSize = 26;       // int16
constexpr std::size_t Os2StrikeoutPosition = 28;   // int16
constexpr std::size_t Os2WinAscent = 74;           // uint16
constexpr std::size_t Os2WinDescent = 76;          // uint16
constexpr std::size_t PostUnderlinePosition = 8;   // int16
constexpr std::size_t PostUnderlineThickness = 10; // int16

std::optional<int> ReadU16(TFontTables::TBytes table, std::size_t offset)
{
    if (table.size() < 2 || offset > table.size() - 2)
        return std::nullopt;
    return (table[offset] << 8) | table[offset + 1];
}

std::optional<int> ReadS16(TFontTables::TBytes table, std::size_t offset)
{
    const std::optional<int> value = ReadU16(table, offset);
    if (!value)
        return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

} // namespace

TFontTables TFontTables::Read(const TSource& source)
{
    TFontTables tables;
    tables.UnitsPerEm = std::max(16, ReadU16(source.Head, HeadUnitsPerEm).value_or(0));
    const std::size_t metrics = std::size_t(ReadU16(source.Hhea, HheaNumberOfHMetrics).value_or(0));
    const std::size_t held = source.Hmtx.size() < 2 ? 0 : (source.Hmtx.size() - 2) / HmtxRecordSize + 1;
    const std::size_t count = std::min(metrics, held);
    tables.AdvanceUnits.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        tables.AdvanceUnits.push_back(static_cast<std::uint16_t>(*ReadU16(source.Hmtx, HmtxRecordSize * i)));
    tables.WinAscent = ReadU16(source.Os2, Os2WinAscent);
    tables.WinDescent = ReadU16(source.Os2, Os2WinDescent);
    tables.AverageCharWidth = ReadS16(source.Os2, Os2AvgCharWidth);
    tables.StrikeoutSize = ReadS16(source.Os2, Os2StrikeoutSize);
    tables.StrikeoutPosition = ReadS16(source.Os2, Os2StrikeoutPosition);
    tables.UnderlinePosition = ReadS16(source.Post, PostUnderlinePosition);
    tables.UnderlineThickness = ReadS16(source.Post, PostUnderlineThickness);
    return tables;
}
