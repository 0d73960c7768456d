#include "platform/raster/DrawTextLayout.h"

#include "platform/raster/Canvas.h"
#include "platform/raster/FontFace.h"

#include <algorithm>

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ';
}

// Splits at CR, LF, CR LF and LF CR; CR CR is two breaks.
std::vector<std::u16string_view> LogicalLines(std::u16string_view text, bool singleLine)
{
    if (singleLine)
        return {text};
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        const char16_t partner = c == u'\r' ? u'\n' : u'\r';
        if (i + 1 < text.size() && text[i + 1] == partner)
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

TDrawTextLayout::TDrawTextLayout(const TFontFace& face, std::u16string_view text, int width, unsigned flags)
    : FFace(face), FWidth(width), FFlags(flags), FTabWidth(8 * face.AveCharWidth())
{
    for (const std::u16string_view logical : LogicalLines(text, flags & DT_SINGLELINE)) {
        const TChars chars = StripPrefixes(logical);
        std::size_t from = 0;
        do {
            const std::size_t to = (flags & DT_WORDBREAK) ? BreakPoint(chars, from) : chars.size();
            AddLine(chars, from, to);
            from = to;
            // One blank at a break point is consumed; further blanks start the next line.
            if (from < chars.size() && IsBlank(chars[from].Char))
                ++from;
        } while (from < chars.size());
    }
}

int TDrawTextLayout::Height() const
{
    return static_cast<int>(FLines.size()) * FFace.Height();
}

TDrawTextLayout::TChars TDrawTextLayout::StripPrefixes(std::u16string_view line) const
{
    TChars chars;
    const bool prefixes = !(FFlags & DT_NOPREFIX);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (prefixes && line[i] == u'&' && i + 1 < line.size()) {
            ++i;
            chars.push_back({line[i], line[i] != u'&'});
            continue;
        }
        chars.push_back({line[i], false});
    }
    return chars;
}

int TDrawTextLayout::Width(std::u16string_view text) const
{
    return SaturatedInt(FFace.TextWidth(text));
}

// Width of chars [from, to) set from the line start, tabs expanded when asked.
int TDrawTextLayout::Measure(const TChars& chars, std::size_t from, std::size_t to) const
{
    int x = 0;
    std::u16string run;
    for (std::size_t i = from; i < to; ++i) {
        if (chars[i].Char == u'\t' && (FFlags & DT_EXPANDTABS) && FTabWidth > 0) {
            x += Width(run);
            run.clear();
            x = (x / FTabWidth + 1) * FTabWidth;
            continue;
        }
        run += chars[i].Char;
    }
    return x + Width(run);
}

// End (exclusive) of the line that starts at `from`.
std::size_t TDrawTextLayout::BreakPoint(const TChars& chars, std::size_t from) const
{
    std::size_t fit = from;
    while (fit < chars.size() && Measure(chars, from, fit + 1) <= FWidth)
        ++fit;
    if (fit == chars.size())
        return fit;
    if (IsBlank(chars[fit].Char))
        return fit;
    for (std::size_t k = fit; k > from; --k) {
        if (IsBlank(chars[k - 1].Char))
            return k; // the blank that fits stays on this line
    }
    // A word wider than the line stands alone and is clipped.
    std::size_t end = std::max(fit, from + 1);
    while (end < chars.size() && !IsBlank(chars[end].Char))
        ++end;
    return end;
}

void TDrawTextLayout::AddLine(const TChars& chars, std::size_t from, std::size_t to)
{
    TLine line;
    TSegment segment;
    for (std::size_t i = from; i < to; ++i) {
        if (chars[i].Char == u'\t' && (FFlags & DT_EXPANDTABS) && FTabWidth > 0) {
            segment.Width = Width(segment.Text);
            if (!segment.Text.empty())
                line.Segments.push_back(segment);
            segment = TSegment{Measure(chars, from, i + 1), 0, std::u16string()};
            continue;
        }
        if (chars[i].Underlined) {
            const int x = segment.X + Width(segment.Text);
            line.Underscores.push_back({x, Width(std::u16string_view(&chars[i].Char, 1))});
        }
        segment.Text += chars[i].Char;
    }
    segment.Width = Width(segment.Text);
    if (!segment.Text.empty())
        line.Segments.push_back(segment);
    FLines.push_back(line);
}
