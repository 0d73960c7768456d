#include "platform/widgets/FontDialogState.h"

#include "platform/widgets/Tr.h"

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
        {Tr("黒"), 0x000000},     {Tr("栗色"), 0x000080}, {Tr("緑"), 0x008000},
        {Tr("オリーブ"), 0x008080}, {Tr("紺"), 0x800000},   {Tr("紫"), 0x800080},
        {Tr("青緑"), 0x808000},   {Tr("灰色"), 0x808080}, {Tr("銀色"), 0xC0C0C0},
        {Tr("赤"), 0x0000FF},     {Tr("ライム"), 0x00FF00}, {Tr("黄"), 0x00FFFF},
        {Tr("青"), 0xFF0000},     {Tr("赤紫"), 0xFF00FF}, {Tr("水色"), 0xFFFF00},
        {Tr("白"), 0xFFFFFF},
    };
    const bool listed = std::any_of(colors.cbegin(), colors.cend(), [&](const TNamedColor& entry) { return entry.Color == current; });
    if (!listed)
        colors.append({Tr("カスタム"), current});
    return colors;
}
