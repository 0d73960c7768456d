#include "platform/raster/FontFace.h"

#include "platform/raster/Bitmap.h"
#include "platform/raster/CaseFolding.h"
#include "platform/raster/CharacterClasses.h"
#include "platform/raster/CodePoints.h"
#include "platform/raster/FallbackChain.h"
#include "platform/raster/FontLocator.h"
#include "platform/base/ShiftJis.h"
#include "platform/base/UnicodeText.h"
#include "platform/raster/SizedFontFile.h"
#include "platform/raster/TextShaper.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

std::string CacheKey(const TFont& font)
{
    const bool symbol = font.Charset() == SYMBOL_CHARSET;
    return TextToUtf8(font.Name()) + '|' + std::to_string(font.Height()) + '|' + std::to_string(font.Style())
        + (symbol ? "|s" : "");
}

void FillClipped(TBitmap& surface, const TRect& clip, int left, int top, int right, int bottom, std::uint32_t pixel)
{
    left = std::max(left, clip.Left);
    top = std::max(top, clip.Top);
    right = std::min(right, clip.Right);
    bottom = std::min(bottom, clip.Bottom);
    for (int y = top; y < bottom; ++y)
        std::fill(surface.ScanLine(y) + left, surface.ScanLine(y) + std::max(left, right), pixel);
}

// Sets the pixels of one row of a monochrome glyph whose bits are on, columns first to
// last. Glyph rows are mostly empty or solid bytes: those are skipped or filled whole.
void PlotGlyphRow(const unsigned char* bits, int first, int last, std::uint32_t* target, std::uint32_t pixel)
{
    const auto plotBit = [&](int column) {
        if (bits[column >> 3] & (0x80 >> (column & 7)))
            target[column] = pixel;
    };
    int column = first;
    for (; column < last && (column & 7) != 0; ++column)
        plotBit(column);
    for (; column + 8 <= last; column += 8) {
        const unsigned byte = bits[column >> 3];
        if (byte == 0xFF)
            std::fill_n(target + column, 8, pixel);
        else if (byte != 0)
            for (int bit = 0; bit < 8; ++bit)
                if (byte & (0x80u >> bit))
                    target[column + bit] = pixel;
    }
    for (; column < last; ++column)
        plotBit(column);
}

} // namespace

std::shared_ptr<const TFontFace> TFontFace::For(const TFont& font)
{
    static std::mutex lock;
    static std::map<std::string, std::shared_ptr<const TFontFace>> cache;
    const std::string key = CacheKey(font);
    {
        const std::lock_guard<std::mutex> guard(lock);
        const auto found = cache.find(key);
        if (found != cache.end())
            return found->second;
    }
    // Made outside the lock: opening a face takes a while, and another thread making
    // the same face at the same time only wastes that time.
    std::shared_ptr<const TFontFace> face(new TFontFace(font));
    const std::lock_guard<std::mutex> guard(lock);
    if (cache.size() >= 64)
        cache.clear(); // faces still in use live on in their holders
    return cache.emplace(key, face).first->second;
}

TFontFace::TFontFace(const TFont& font)
    : FStyle(font.Style())
{
    const bool bold = FStyle & fsBold;
    const bool italic = FStyle & fsItalic;
    const TFontFile file = TFontLocator::Shared().Find(font.Name(), bold, italic);
    FFamily = file.Family;
    FFamilyFound = file.Found;
    auto own = std::make_shared<TSizedFontFile>(file, font.Name(), FStyle);
    const TFontTables& tables = own->Tables();
    const TSizedFontFile::TVerticalUnits vertical = own->VerticalUnits();
    const int upem = tables.UnitsPerEm;
    const int height = font.Height();
    if (height < 0)
        FEm = -height;
    else if (height > 0)
        FEm = std::max(1, MulDiv(upem, height, vertical.Ascent + vertical.Descent));
    else
        FEm = 16;
    FAscent = MulDiv(vertical.Ascent, FEm, upem);
    FDescent = MulDiv(vertical.Descent, FEm, upem);
    FAveCharWidth = std::max(1, MulDiv(tables.AverageCharWidth.value_or(0), FEm, upem));
    if (tables.UnderlinePosition && tables.UnderlineThickness) {
        FUnderlineThickness = std::max(1, MulDiv(*tables.UnderlineThickness, FEm, upem));
        FUnderlineOffset = -MulDiv(*tables.UnderlinePosition, FEm, upem);
    } else {
        FUnderlineThickness = FAscent / 20 + 1;
        FUnderlineOffset = 0;
    }
    FStrikeOutThickness = std::max(1, MulDiv(tables.StrikeoutSize.value_or(0), FEm, upem));
    FStrikeOutOffset = tables.StrikeoutPosition ? MulDiv(*tables.StrikeoutPosition, FEm, upem) : FAscent / 2;

    FSymbol = font.Charset() == SYMBOL_CHARSET || EqualIgnoringCase(font.Name(), u"Symbol")
        || StartsWithIgnoringCase(FFamily, u"Standard Symbols");
    own->SetEm(FEm);
    FFiles = std::make_unique<TFallbackChain>(std::move(own), FFamily, font.Name(), FStyle, FEm);
}

TFontFace::~TFontFace() = default;

std::u32string TFontFace::CodesFor(std::u16string_view text) const
{
    std::u32string codes = CodePoints(text);
    // A symbol face is addressed by byte value: characters that stand for single
    // bytes (Latin-1, or the half-width katakana the Japanese code page gives
    // bytes A1..DF) become those byte codes.
    if (FSymbol) {
        for (char32_t& code : codes) {
            if (IsHalfWidthKana(code))
                code = FirstKanaByte + (code - FirstHalfWidthKana);
        }
    }
    return codes;
}

TFontFace::TGlyphs TFontFace::Shape(std::u16string_view text) const
{
    const std::u32string codes = CodesFor(text);
    if (!FSymbol && TTextShaper::NeedsShaping(codes))
        return ShapedGlyphs(codes);
    TGlyphs result;
    const std::size_t count = codes.size();
    result.Glyphs.resize(count);
    result.FileOfGlyph.assign(count, 0);
    result.Advances.resize(count);
    result.X.resize(count);
    result.ClusterOf.resize(count);
    TSizedFontFile& own = FFiles->File(0);
    for (std::size_t i = 0; i < count; ++i) {
        TSizedFontFile* from = &own;
        result.Glyphs[i] = own.GlyphOf(codes[i]);
        if (result.Glyphs[i] == 0 && codes[i] >= 0x20) {
            for (std::size_t f = 1; f < FFiles->StandInEnd(); ++f) {
                TSizedFontFile& standIn = FFiles->File(f);
                const std::uint32_t alternative = standIn.GlyphOf(codes[i]);
                if (alternative != 0) {
                    result.Glyphs[i] = alternative;
                    result.FileOfGlyph[i] = static_cast<int>(f);
                    from = &standIn;
                    break;
                }
            }
            if (result.Glyphs[i] == 0) {
                const int fallback = FFiles->FallbackFileFor(codes[i]);
                if (fallback > 0) {
                    from = &FFiles->File(std::size_t(fallback));
                    result.FileOfGlyph[i] = fallback;
                    result.Glyphs[i] = from->GlyphOf(codes[i]);
                }
            }
        }
        result.Advances[i] = from->Advance(result.Glyphs[i]);
        result.X[i] = result.Width;
        result.Width += result.Advances[i];
        result.ClusterOf[i] = static_cast<int>(i);
    }
    result.Clusters = static_cast<int>(count);
    return result;
}

// Each character takes the first file that has it, as in the per-character layout,
// except that combining marks, joiners and spaces stay in the file of the character
// before them when it has them: a mark is positioned on its own base letter, and a
// space never changes the file (as desktop text layout has it). A character no file
// has shows the own file's box.
TFontFace::TGlyphs TFontFace::ShapedGlyphs(const std::u32string& codes) const
{
    std::vector<int> fileOfCode(codes.size());
    int previous = -1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const char32_t code = codes[i];
        int file = -1;
        if (TTextShaper::IsDefaultIgnorable(code)) {
            file = std::max(previous, 0);
        } else {
            if (StaysWithBase(code) && previous >= 0 && FFiles->File(std::size_t(previous)).GlyphOf(code) != 0)
                file = previous;
            else
                file = std::max(FFiles->FileFor(code), 0);
        }
        fileOfCode[i] = file;
        previous = file;
    }
    std::vector<hb_font_t*> fonts(std::size_t(*std::max_element(fileOfCode.begin(), fileOfCode.end())) + 1, nullptr);
    for (const int file : fileOfCode) {
        if (!fonts[std::size_t(file)])
            fonts[std::size_t(file)] = FFiles->File(std::size_t(file)).ShaperFont();
    }
    // The characters of a file HarfBuzz cannot read (a Type 1 face) are set one by one
    // as in the per-character layout.
    std::vector<TTextShaper::TNominalGlyph> nominal;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (fonts[std::size_t(fileOfCode[i])])
            continue;
        nominal.resize(codes.size());
        TSizedFontFile& file = FFiles->File(std::size_t(fileOfCode[i]));
        const std::uint32_t glyph = file.GlyphOf(codes[i]);
        nominal[i] = TTextShaper::TNominalGlyph{glyph, file.Advance(glyph)};
    }
    const TTextShaper::TLine line = TTextShaper::Shape(codes, fileOfCode, fonts, nominal);
    TGlyphs result;
    result.Width = line.Width;
    for (const TTextShaper::TGlyph& glyph : line.Glyphs) {
        result.FileOfGlyph.push_back(glyph.Font);
        result.Glyphs.push_back(glyph.Glyph);
        result.Advances.push_back(glyph.Advance);
        result.X.push_back(glyph.X);
        result.Raise.push_back(glyph.Y);
        result.Clusters += glyph.ClusterStart || result.Clusters == 0 ? 1 : 0;
        result.ClusterOf.push_back(result.Clusters - 1);
    }
    return result;
}

std::int64_t TFontFace::TextWidth(std::u16string_view text, int characterExtra) const
{
    const TGlyphs glyphs = Shape(text);
    return glyphs.Width + std::int64_t(characterExtra) * glyphs.Clusters;
}

TFontFace::TInkReach TFontFace::InkReach(std::u16string_view text) const
{
    const TGlyphs glyphs = Shape(text);
    const std::vector<TGlyphCache::TBitmapPtr> bitmaps = Bitmaps(glyphs);
    TInkReach reach;
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        const TGlyphCache::TBitmap& bitmap = *bitmaps[i];
        if (bitmap.InkBottom == 0)
            continue;
        // The bitmap's first row, counted from the cell's top.
        const int top = FAscent - bitmap.Top - (glyphs.Raise.empty() ? 0 : glyphs.Raise[i]);
        reach.Above = std::max(reach.Above, -(top + bitmap.InkTop));
        reach.Below = std::max(reach.Below, top + bitmap.InkBottom - Height());
    }
    return reach;
}

// Every bitmap of the line, held by the caller, since its file may let go of it
// meanwhile. Runs of glyphs from one file are the rule: each run's bitmaps are fetched
// under one taking of the file's lock.
std::vector<TGlyphCache::TBitmapPtr> TFontFace::Bitmaps(const TGlyphs& glyphs) const
{
    const std::size_t count = glyphs.Glyphs.size();
    std::vector<TGlyphCache::TBitmapPtr> bitmaps(count);
    for (std::size_t first = 0, end = 0; first < count; first = end) {
        for (end = first + 1; end < count && glyphs.FileOfGlyph[end] == glyphs.FileOfGlyph[first];)
            ++end;
        FFiles->File(std::size_t(glyphs.FileOfGlyph[first])).Bitmaps(&glyphs.Glyphs[first], end - first, &bitmaps[first]);
    }
    return bitmaps;
}

std::vector<int> TFontFace::Advances(std::u16string_view text) const
{
    return Shape(text).Advances;
}

std::vector<char32_t> TFontFace::MissingCharacters(std::u16string_view text) const
{
    // The codes looked up (a symbol face's byte codes) beside the characters they stand
    // for, one for one; a lone surrogate half is no character and is not listed.
    const std::u32string codes = CodesFor(text);
    const std::u32string characters = CodePoints(text);
    std::vector<char32_t> missing;
    for (std::size_t i = 0; i < codes.size() && i < characters.size(); ++i) {
        const char32_t code = codes[i];
        if (code < 0x20 || (code >= 0xD800 && code <= 0xDFFF) || TTextShaper::IsDefaultIgnorable(code)
            || std::find(missing.begin(), missing.end(), characters[i]) != missing.end())
            continue;
        if (FFiles->FileFor(code) < 0)
            missing.push_back(characters[i]);
    }
    return missing;
}

std::int64_t TFontFace::DrawLine(TBitmap& surface, const TRect& clipRect, int x, int y, std::u16string_view text,
                                 std::uint32_t pixel, int characterExtra) const
{
    const TRect clip = Rect(std::max(clipRect.Left, 0), std::max(clipRect.Top, 0),
                            std::min(clipRect.Right, surface.Width()), std::min(clipRect.Bottom, surface.Height()));
    const TGlyphs glyphs = Shape(text);
    const int baseline = y + FAscent;
    const std::vector<TGlyphCache::TBitmapPtr> bitmaps = Bitmaps(glyphs);
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        const TGlyphCache::TBitmap& bitmap = *bitmaps[i];
        const std::int64_t start = x + glyphs.X[i] + std::int64_t(characterExtra) * glyphs.ClusterOf[i] + bitmap.Left;
        const int top = baseline - bitmap.Top - (glyphs.Raise.empty() ? 0 : glyphs.Raise[i]);
        if (clip.Right <= clip.Left || clip.Bottom <= clip.Top || start >= clip.Right || start + bitmap.Width <= clip.Left)
            continue;
        const int left = static_cast<int>(start);
        const int firstRow = std::max(0, clip.Top - top);
        const int lastRow = std::min(bitmap.Rows, clip.Bottom - top);
        const int firstColumn = std::max(0, clip.Left - left);
        const int lastColumn = std::min(bitmap.Width, clip.Right - left);
        for (int row = firstRow; row < lastRow; ++row)
            PlotGlyphRow(bitmap.Bits.data() + std::size_t(row) * bitmap.Pitch, firstColumn, lastColumn,
                         surface.ScanLine(top + row) + left, pixel);
    }
    // The bars span the whole line, shaped or not, its extra spacing included.
    const std::int64_t width = glyphs.Width + std::int64_t(characterExtra) * glyphs.Clusters;
    const int right = static_cast<int>(std::min<std::int64_t>(x + width, clip.Right));
    if (width > 0 && (FStyle & fsUnderline)) {
        const int top = baseline + FUnderlineOffset - FUnderlineThickness / 2;
        FillClipped(surface, clip, x, top, right, top + FUnderlineThickness, pixel);
    }
    if (width > 0 && (FStyle & fsStrikeOut)) {
        const int top = baseline - FStrikeOutOffset - FStrikeOutThickness / 2;
        FillClipped(surface, clip, x, top, right, top + FStrikeOutThickness, pixel);
    }
    return width;
}
