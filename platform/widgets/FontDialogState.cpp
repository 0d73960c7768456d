#include "platform/widgets/FontDialogState.h"

#include <algorithm>
#include <cstdlib>

TFontDialogState FontDialogStateOf(const TFont& font)
{
    TFontDialogState state;
    state.Face = font.Name();
    state.Points = std::abs(font.Size());
    state.Style = font.Style() & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    state.Color = ColorToRGB(font.Color());
    return state;
}

void ApplyFontDialogState(const TFontDialogState& state, TFont& font)
{
    // Built apart and assigned once, so the font reports one change, not four.
    TFont chosen(font);
    chosen.SetName(state.Face);
    chosen.SetSize(state.Points);
    chosen.SetStyle(state.Style);
    chosen.SetColor(state.Color);
    font.Assign(chosen);
}

int FontStyleIndex(TFontStyles style)
{
    return ((style & fsBold) != 0 ? 2 : 0) + ((style & fsItalic) != 0 ? 1 : 0);
}

TFontStyles FontStyleOfIndex(int index)
{
    if (index < 0 || index > 3)
        return 0;
    TFontStyles style = 0;
    if ((index & 2) != 0)
        style |= fsBold;
    if ((index & 1) != 0)
        style |= fsItalic;
    return style;
}

std::optional<int> ParseFontPoints(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar ch) { return ch.isDigit() && ch.unicode() < 0x80; }))
        return std::nullopt;
    bool ok = false;
    const int points = trimmed.toInt(&ok);
    // MulDiv answers -1 when the height would not fit.
    if (!ok || points <= 0 || MulDiv(points, PixelsPerInch, 72) == -1)
        return std::nullopt;
    return points;
}

QList<TNamedColor> FontDialogColors(TColor current)
{
    QList<TNamedColor> colors = {
        {QStringLiteral("黒"), 0x000000},     {QStringLiteral("栗色"), 0x000080}, {QStringLiteral("緑"), 0x008000},
        {QStringLiteral("オリーブ"), 0x008080}, {QStringLiteral("紺"), 0x800000},   {QStringLiteral("紫"), 0x800080},
        {QStringLiteral("青緑"), 0x808000},   {QStringLiteral("灰色"), 0x808080}, {QStringLiteral("銀色"), 0xC0C0C0},
        {QStringLiteral("赤"), 0x0000FF},     {QStringLiteral("ライム"), 0x00FF00}, {QStringLiteral("黄"), 0x00FFFF},
        {QStringLiteral("青"), 0xFF0000},     {QStringLiteral("赤紫"), 0xFF00FF}, {QStringLiteral("水色"), 0xFFFF00},
        {QStringLiteral("白"), 0xFFFFFF},
    };
    const bool listed = std::any_of(colors.cbegin(), colors.cend(), [&](const TNamedColor& entry) { return entry.Color == current; });
    if (!listed)
        colors.append({QStringLiteral("カスタム"), current});
    return colors;
}
