#include "platform/raster/FontFace.h"

#include "platform/raster/Bitmap.h"
#include "platform/raster/FontFallback.h"
#include "platform/raster/FontLocator.h"
#include "platform/raster/ShiftJis.h"
#include "platform/raster/TextShaper.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TYPE1_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

namespace {

// Fields of the font tables read at fixed offsets (big-endian, as the OpenType
// format lays them out).
constexpr std::size_t HeadUnitsPerEm = 18;         // head.unitsPerEm, uint16
constexpr std::size_t HheaNumberOfHMetrics = 34;   // hhea.numberOfHMetrics, uint16
constexpr std::size_t HmtxRecordSize = 4;          // hmtx longHorMetric {advanceWidth uint16, lsb int16}
constexpr std::size_t Os2AvgCharWidth = 2;         // OS/2.xAvgCharWidth, int16
constexpr std::size_t Os2StrikeoutSize = 26;       // OS/2.yStrikeoutSize, int16
constexpr std::size_t Os2StrikeoutPosition = 28;   // OS/2.yStrikeoutPosition, int16
constexpr std::size_t Os2WinAscent = 74;           // OS/2.usWinAscent, uint16
constexpr std::size_t Os2WinDescent = 76;          // OS/2.usWinDescent, uint16
constexpr std::size_t PostUnderlinePosition = 8;   // post.underlinePosition, int16
constexpr std::size_t PostUnderlineThickness = 10; // post.underlineThickness, int16

using TTable = std::vector<unsigned char>;

int ReadU16(const TTable& table, std::size_t offset)
{
    if (offset + 2 > table.size())
        return 0;
    return (table[offset] << 8) | table[offset + 1];
}

int ReadS16(const TTable& table, std::size_t offset)
{
    return static_cast<std::int16_t>(ReadU16(table, offset));
}

FT_Library Library()
{
    static FT_Library library = [] {
        // Without a library no face opens, and every character is drawn as nothing.
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0)
            return FT_Library(nullptr);
        // CFF outlines are drawn with stem darkening on, as the desktop's text is. A
        // FreeType without the CFF driver or the property refuses it, which changes only
        // how thick such outlines look: there is nothing else to do about it.
        FT_Bool noStemDarkening = false;
        static_cast<void>(FT_Property_Set(made, "cff", "no-stem-darkening", &noStemDarkening));
        return made;
    }();
    return library;
}

// FreeType wants faces opened and closed one at a time per library.
std::mutex& LibraryLock()
{
    static std::mutex lock;
    return lock;
}

TTable LoadTable(FT_Face face, FT_ULong tag)
{
    FT_ULong length = 0;
    if (!FT_IS_SFNT(face) || FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0)
        return {};
    TTable table(length);
    if (FT_Load_Sfnt_Table(face, tag, 0, table.data(), &length) != 0)
        return {};
    return table;
}

std::string CacheKey(const TFont& font)
{
    const bool symbol = font.Charset() == SYMBOL_CHARSET;
    return font.Name().toStdString() + '|' + std::to_string(font.Height()) + '|' + std::to_string(font.Style())
        + (symbol ? "|s" : "");
}

struct TGlyphBitmap {
    int Left = 0; // from the pen to the first column
    int Top = 0;  // from the baseline up to the first row
    int Width = 0;
    int Rows = 0;
    int Pitch = 0;
    std::vector<unsigned char> Bits; // one bit a pixel, most significant first
};

} // namespace

// One font file at one pixel size, with its advance table in font units and the
// glyph bitmaps drawn so far.
struct TFontFace::TFace {
    FT_Face Face = nullptr;
    std::string Path;
    int FileIndex = 0;
    int Em = 0;
    FT_CharMap UnicodeMap = nullptr;
    FT_CharMap SymbolMap = nullptr;
    bool SymbolAddressing = false; // byte codes may also be found at U+F000 + byte
    bool Obliquen = false;
    int UnitsPerEm = 2048;
    std::vector<std::uint16_t> AdvanceUnits;
    TTable Os2, Post;

    std::mutex Lock; // FreeType's face is one thread's at a time
    std::unordered_map<std::uint32_t, std::shared_ptr<const TGlyphBitmap>> Bitmaps;

    // The shaper's own font on the same file, made when first needed. It needs no lock.
    std::once_flag ShaperMade;
    hb_font_t* Shaper = nullptr;

    ~TFace()
    {
        if (Shaper)
            TTextShaper::CloseFont(Shaper);
        if (Face) {
            const std::lock_guard<std::mutex> lock(LibraryLock());
            FT_Done_Face(Face);
        }
    }

    int Advance(std::uint32_t glyph, int em)
    {
        if (AdvanceUnits.empty()) {
            const std::lock_guard<std::mutex> lock(Lock);
            if (!Face || FT_Load_Glyph(Face, glyph, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
                return 0;
            return static_cast<int>((Face->glyph->advance.x + 32) >> 6);
        }
        const std::uint16_t units = AdvanceUnits[std::min<std::size_t>(glyph, AdvanceUnits.size() - 1)];
        return (units * em + UnitsPerEm / 2) / UnitsPerEm;
    }

    // The glyph of one character: from the Unicode map, then, in a face with a symbol
    // map, from that map and at U+F000 + byte. Tab and no-break space take the space.
    std::uint32_t GlyphOf(char32_t code)
    {
        if (!Face)
            return 0;
        const std::lock_guard<std::mutex> lock(Lock);
        FT_UInt glyph = FT_Get_Char_Index(Face, code);
        if (!glyph && (code == 0xA0 || code == 0x09)) {
            code = 0x20;
            glyph = FT_Get_Char_Index(Face, code);
        }
        if (!glyph && SymbolMap) {
            FT_Set_Charmap(Face, SymbolMap);
            glyph = FT_Get_Char_Index(Face, code);
            FT_Set_Charmap(Face, UnicodeMap);
            if (!glyph && SymbolAddressing && code < 0x100)
                glyph = FT_Get_Char_Index(Face, code + 0xF000);
        }
        return glyph;
    }

    hb_font_t* ShaperFont()
    {
        std::call_once(ShaperMade, [this] {
            if (Face)
                Shaper = TTextShaper::OpenFont(Path, FileIndex, Em);
        });
        return Shaper;
    }

    std::shared_ptr<const TGlyphBitmap> Bitmap(std::uint32_t glyph)
    {
        const std::lock_guard<std::mutex> lock(Lock);
        auto& cached = Bitmaps[glyph];
        if (cached)
            return cached;
        auto bitmap = std::make_shared<TGlyphBitmap>();
        cached = bitmap;
        if (!Face)
            return cached;
        FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_TARGET_MONO;
        if (Obliquen)
            flags |= FT_LOAD_NO_BITMAP;
        FT_Error error = FT_Load_Glyph(Face, glyph, flags);
        if (error && (flags & FT_LOAD_NO_BITMAP)) {
            flags &= ~FT_LOAD_NO_BITMAP;
            error = FT_Load_Glyph(Face, glyph, flags);
        }
        // A fault in the font's hinting program: its glyphs are hinted automatically.
        if (error == FT_Err_Too_Few_Arguments || error == FT_Err_Execution_Too_Long)
            error = FT_Load_Glyph(Face, glyph, flags | FT_LOAD_FORCE_AUTOHINT);
        if (error)
            return cached;
        FT_GlyphSlot slot = Face->glyph;
        if (Obliquen)
            FT_GlyphSlot_Oblique(slot);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
            return cached;
        bitmap->Left = slot->bitmap_left;
        bitmap->Top = slot->bitmap_top;
        bitmap->Width = static_cast<int>(slot->bitmap.width);
        bitmap->Rows = static_cast<int>(slot->bitmap.rows);
        bitmap->Pitch = (bitmap->Width + 7) / 8;
        bitmap->Bits.resize(std::size_t(bitmap->Pitch) * bitmap->Rows);
        for (int row = 0; row < bitmap->Rows; ++row)
            std::memcpy(bitmap->Bits.data() + std::size_t(row) * bitmap->Pitch,
                        slot->bitmap.buffer + std::ptrdiff_t(row) * slot->bitmap.pitch, bitmap->Pitch);
        return cached;
    }
};

namespace {

// Opens the face fontconfig names for the family and style.
std::shared_ptr<TFontFace::TFace> MakeFace(const TFontFile& file, const QString& requested, TFontStyles style)
{
    auto face = std::make_shared<TFontFace::TFace>();
    {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        if (file.Path.empty() || FT_New_Face(Library(), file.Path.c_str(), file.Index, &face->Face) != 0)
            face->Face = nullptr;
    }
    FT_Face ft = face->Face;
    if (!ft)
        return face;
    face->Path = file.Path;
    face->FileIndex = file.Index;
    for (int i = 0; i < ft->num_charmaps; ++i) {
        FT_CharMap map = ft->charmaps[i];
        switch (map->encoding) {
        case FT_ENCODING_UNICODE:
            face->UnicodeMap = map;
            break;
        case FT_ENCODING_APPLE_ROMAN:
        case FT_ENCODING_ADOBE_LATIN_1:
            if (!face->UnicodeMap || face->UnicodeMap->encoding != FT_ENCODING_UNICODE)
                face->UnicodeMap = map;
            break;
        case FT_ENCODING_ADOBE_CUSTOM:
        case FT_ENCODING_MS_SYMBOL:
            if (!face->SymbolMap)
                face->SymbolMap = map;
            break;
        default:
            break;
        }
    }
    FT_Set_Charmap(ft, face->UnicodeMap);
    face->SymbolAddressing = face->SymbolMap != nullptr;
    // A PostScript face is addressed by byte only when its family says it is a symbol face.
    PS_FontInfoRec info;
    if (FT_Get_PS_Font_Info(ft, &info) == 0)
        face->SymbolAddressing = requested.contains(QLatin1String("symbol"), Qt::CaseInsensitive);

    const TTable head = LoadTable(ft, FT_MAKE_TAG('h', 'e', 'a', 'd'));
    const TTable hhea = LoadTable(ft, FT_MAKE_TAG('h', 'h', 'e', 'a'));
    const TTable hmtx = LoadTable(ft, FT_MAKE_TAG('h', 'm', 't', 'x'));
    face->Os2 = LoadTable(ft, FT_MAKE_TAG('O', 'S', '/', '2'));
    face->Post = LoadTable(ft, FT_MAKE_TAG('p', 'o', 's', 't'));
    face->UnitsPerEm = std::max(16, ReadU16(head, HeadUnitsPerEm));
    const int metrics = ReadU16(hhea, HheaNumberOfHMetrics);
    for (int i = 0; i < metrics && HmtxRecordSize * i + 2 <= hmtx.size(); ++i)
        face->AdvanceUnits.push_back(static_cast<std::uint16_t>(ReadU16(hmtx, HmtxRecordSize * i)));

    // A family without an italic face gets its upright glyphs slanted. A family
    // without a bold face is drawn as it is: the desktop's text engine this replaces
    // did not thicken such faces either (IPAPGothic and Standard Symbols PS bold were
    // drawn regular), and logos keep their look.
    if ((style & fsItalic) && FT_IS_SCALABLE(ft) && !(ft->style_flags & FT_STYLE_FLAG_ITALIC))
        face->Obliquen = true;
    return face;
}

void SetEm(TFontFace::TFace& face, int em)
{
    face.Em = em;
    if (!face.Face)
        return;
    // A face that cannot take the size (a bitmap face without that strike) draws
    // nothing of its own: its characters go to the faces after it.
    if (FT_Set_Char_Size(face.Face, FT_F26Dot6(em) * 64, FT_F26Dot6(em) * 64, 0, 0) != 0) {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        FT_Done_Face(face.Face);
        face.Face = nullptr;
    }
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
    : FRequested(font.Name()), FStyle(font.Style())
{
    const bool bold = FStyle & fsBold;
    const bool italic = FStyle & fsItalic;
    const TFontFile file = TFontLocator::Shared().Find(font.Name(), bold, italic);
    FFamily = file.Family;
    FFamilyFound = file.Found;
    auto primary = MakeFace(file, font.Name(), FStyle);
    const TTable& os2 = primary->Os2;
    const TTable& post = primary->Post;
    int winAscent = ReadU16(os2, Os2WinAscent);
    int winDescent = ReadU16(os2, Os2WinDescent);
    const int upem = primary->UnitsPerEm;
    if (winAscent + winDescent == 0 && primary->Face) {
        winAscent = primary->Face->ascender;
        winDescent = -primary->Face->descender;
    }
    const int height = font.Height();
    if (height < 0)
        FEm = -height;
    else if (height > 0)
        FEm = std::max(1, MulDiv(upem, height, winAscent + winDescent));
    else
        FEm = 16;
    FAscent = MulDiv(winAscent, FEm, upem);
    FDescent = MulDiv(winDescent, FEm, upem);
    FAveCharWidth = std::max(1, MulDiv(ReadS16(os2, Os2AvgCharWidth), FEm, upem));
    FUnderlineThickness = std::max(1, MulDiv(ReadS16(post, PostUnderlineThickness), FEm, upem));
    FUnderlineOffset = -MulDiv(ReadS16(post, PostUnderlinePosition), FEm, upem);
    FStrikeOutThickness = std::max(1, MulDiv(ReadS16(os2, Os2StrikeoutSize), FEm, upem));
    FStrikeOutOffset = MulDiv(ReadS16(os2, Os2StrikeoutPosition), FEm, upem);
    if (post.size() < 12) {
        FUnderlineThickness = FAscent / 20 + 1;
        FUnderlineOffset = 0;
    }
    if (os2.size() < 30)
        FStrikeOutOffset = FAscent / 2;

    FSymbol = font.Charset() == SYMBOL_CHARSET || font.Name().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
        || FFamily.startsWith(QLatin1String("Standard Symbols"), Qt::CaseInsensitive);
    SetEm(*primary, FEm);
    FFaces.push_back(primary);
    // Characters the face lacks come from the Japanese UI face, then from DejaVu,
    // as a Japanese desktop links fonts, instead of showing empty boxes.
    for (const QString& fallback : {QStringLiteral("IPAPGothic"), QStringLiteral("DejaVu Sans")}) {
        if (FFamily.compare(fallback, Qt::CaseInsensitive) != 0)
            FFallbackFamilies.push_back(fallback);
    }
    FStandInEnd = 1 + FFallbackFamilies.size();
    FFaces.resize(FStandInEnd);
}

TFontFace::~TFontFace() = default;

TFontFace::TFace& TFontFace::Face(std::size_t index) const
{
    const std::lock_guard<std::mutex> lock(FFacesLock);
    if (!FFaces[index]) {
        const QString& family = FFallbackFamilies[index - 1];
        const TFontFile file = TFontLocator::Shared().Find(family, FStyle & fsBold, FStyle & fsItalic);
        FFaces[index] = MakeFace(file, family, FStyle);
        SetEm(*FFaces[index], FEm);
    }
    return *FFaces[index];
}

std::u32string TFontFace::CodesFor(const QString& text) const
{
    std::u32string codes;
    codes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        // A symbol face is addressed by byte value: characters that stand for single
        // bytes (Latin-1, or the half-width katakana the Japanese code page gives
        // bytes A1..DF) become those byte codes.
        if (FSymbol && IsHalfWidthKana(code))
            code = FirstKanaByte + (code - FirstHalfWidthKana);
        codes.push_back(code);
    }
    return codes;
}

int TFontFace::FaceOfFile(const TFontFile& file) const
{
    const std::lock_guard<std::mutex> lock(FFacesLock);
    const std::string key = file.Path + '|' + std::to_string(file.Index);
    const auto known = FFaceOfFile.find(key);
    if (known != FFaceOfFile.end())
        return known->second;
    auto face = MakeFace(file, file.Family, FStyle);
    SetEm(*face, FEm);
    FFaces.push_back(std::move(face));
    const int index = static_cast<int>(FFaces.size() - 1);
    FFaceOfFile.emplace(key, index);
    return index;
}

int TFontFace::FallbackFaceFor(char32_t code) const
{
    {
        const std::lock_guard<std::mutex> lock(FChoicesLock);
        const auto known = FChoices.find(code);
        if (known != FChoices.end())
            return known->second;
    }
    const TFontFile file = TFontFallback::Shared().FileFor(FRequested, FStyle & fsBold, FStyle & fsItalic, code);
    int chosen = -1;
    if (!file.Path.empty()) {
        const int index = FaceOfFile(file);
        if (Face(std::size_t(index)).GlyphOf(code) != 0)
            chosen = index;
    }
    const std::lock_guard<std::mutex> lock(FChoicesLock);
    return FChoices.emplace(code, chosen).first->second;
}

int TFontFace::FaceFor(char32_t code) const
{
    for (std::size_t f = 0; f < FStandInEnd; ++f) {
        if (Face(f).GlyphOf(code) != 0)
            return static_cast<int>(f);
    }
    if (code < 0x20)
        return -1;
    return FallbackFaceFor(code);
}

TFontFace::TGlyphs TFontFace::Shape(const QString& text) const
{
    const std::u32string codes = CodesFor(text);
    if (!FSymbol && TTextShaper::NeedsShaping(codes))
        return ShapedGlyphs(codes);
    TGlyphs result;
    const std::size_t count = codes.size();
    result.Glyphs.resize(count);
    result.FaceOfGlyph.assign(count, 0);
    result.Advances.resize(count);
    result.X.resize(count);
    result.ClusterOf.resize(count);
    TFace& primary = Face(0);
    for (std::size_t i = 0; i < count; ++i) {
        result.Glyphs[i] = primary.GlyphOf(codes[i]);
        if (result.Glyphs[i] == 0 && codes[i] >= 0x20) {
            for (std::size_t f = 1; f < FStandInEnd; ++f) {
                const std::uint32_t alternative = Face(f).GlyphOf(codes[i]);
                if (alternative != 0) {
                    result.Glyphs[i] = alternative;
                    result.FaceOfGlyph[i] = static_cast<int>(f);
                    break;
                }
            }
            if (result.Glyphs[i] == 0) {
                const int fallback = FallbackFaceFor(codes[i]);
                if (fallback > 0) {
                    result.FaceOfGlyph[i] = fallback;
                    result.Glyphs[i] = Face(std::size_t(fallback)).GlyphOf(codes[i]);
                }
            }
        }
        result.Advances[i] = Face(result.FaceOfGlyph[i]).Advance(result.Glyphs[i], FEm);
        result.X[i] = result.Width;
        result.Width += result.Advances[i];
        result.ClusterOf[i] = static_cast<int>(i);
    }
    result.Clusters = static_cast<int>(count);
    return result;
}

// Each character takes the first face that has it, as in the per-character layout,
// except that combining marks, joiners and spaces stay in the face of the character
// before them when it has them: a mark is positioned on its own base letter, and a
// space never changes the face (as desktop text layout has it). A character no face
// has shows the face's own box.
TFontFace::TGlyphs TFontFace::ShapedGlyphs(const std::u32string& codes) const
{
    std::vector<int> faceOfCode(codes.size());
    int previous = -1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const char32_t code = codes[i];
        int face = -1;
        if (TTextShaper::IsDefaultIgnorable(code)) {
            face = std::max(previous, 0);
        } else {
            const QChar::Category category = QChar::category(code);
            const bool follows = category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
                || category == QChar::Mark_Enclosing || category == QChar::Separator_Space;
            if (follows && previous >= 0 && Face(std::size_t(previous)).GlyphOf(code) != 0)
                face = previous;
            else
                face = std::max(FaceFor(code), 0);
        }
        faceOfCode[i] = face;
        previous = face;
    }
    std::vector<hb_font_t*> fonts(std::size_t(*std::max_element(faceOfCode.begin(), faceOfCode.end())) + 1, nullptr);
    for (const int face : faceOfCode) {
        if (!fonts[std::size_t(face)])
            fonts[std::size_t(face)] = Face(std::size_t(face)).ShaperFont();
    }
    const TTextShaper::TLine line = TTextShaper::Shape(codes, faceOfCode, fonts);
    TGlyphs result;
    result.Width = line.Width;
    for (const TTextShaper::TGlyph& glyph : line.Glyphs) {
        result.FaceOfGlyph.push_back(glyph.Face);
        result.Glyphs.push_back(glyph.Glyph);
        result.Advances.push_back(glyph.Advance);
        result.X.push_back(glyph.X);
        result.Raise.push_back(glyph.Y);
        result.Clusters += glyph.ClusterStart || result.Clusters == 0 ? 1 : 0;
        result.ClusterOf.push_back(result.Clusters - 1);
    }
    return result;
}

int TFontFace::TextWidth(const QString& text, int characterExtra) const
{
    const TGlyphs glyphs = Shape(text);
    return glyphs.Width + characterExtra * glyphs.Clusters;
}

std::vector<int> TFontFace::Advances(const QString& text) const
{
    return Shape(text).Advances;
}

std::vector<char32_t> TFontFace::MissingCharacters(const QString& text) const
{
    // The codes looked up (a symbol face's byte codes) beside the characters they stand
    // for, one for one; a lone surrogate half is no character and is not listed.
    const std::u32string codes = CodesFor(text);
    const std::u32string characters = text.toStdU32String();
    std::vector<char32_t> missing;
    for (std::size_t i = 0; i < codes.size() && i < characters.size(); ++i) {
        const char32_t code = codes[i];
        if (code < 0x20 || QChar::isSurrogate(code) || TTextShaper::IsDefaultIgnorable(code)
            || std::find(missing.begin(), missing.end(), characters[i]) != missing.end())
            continue;
        if (FaceFor(code) < 0)
            missing.push_back(characters[i]);
    }
    return missing;
}

int TFontFace::DrawLine(TBitmap& surface, const TRect& clipRect, int x, int y, const QString& text, std::uint32_t pixel,
                        int characterExtra) const
{
    const TRect clip = Rect(std::max(clipRect.Left, 0), std::max(clipRect.Top, 0),
                            std::min(clipRect.Right, surface.Width()), std::min(clipRect.Bottom, surface.Height()));
    const TGlyphs glyphs = Shape(text);
    const int baseline = y + FAscent;
    for (std::size_t i = 0; i < glyphs.Glyphs.size(); ++i) {
        const auto bitmap = Face(glyphs.FaceOfGlyph[i]).Bitmap(glyphs.Glyphs[i]);
        const int left = x + glyphs.X[i] + characterExtra * glyphs.ClusterOf[i] + bitmap->Left;
        const int top = baseline - bitmap->Top - (glyphs.Raise.empty() ? 0 : glyphs.Raise[i]);
        if (clip.Right <= clip.Left || clip.Bottom <= clip.Top)
            continue;
        const int firstRow = std::max(0, clip.Top - top);
        const int lastRow = std::min(bitmap->Rows, clip.Bottom - top);
        const int firstColumn = std::max(0, clip.Left - left);
        const int lastColumn = std::min(bitmap->Width, clip.Right - left);
        for (int row = firstRow; row < lastRow; ++row) {
            const unsigned char* bits = bitmap->Bits.data() + std::size_t(row) * bitmap->Pitch;
            std::uint32_t* target = surface.ScanLine(top + row) + left;
            for (int column = firstColumn; column < lastColumn; ++column) {
                if (bits[column >> 3] & (0x80 >> (column & 7)))
                    target[column] = pixel;
            }
        }
    }
    // The bars span the whole line, shaped or not, its extra spacing included.
    const int width = glyphs.Width + characterExtra * glyphs.Clusters;
    if (width > 0 && (FStyle & fsUnderline)) {
        const int top = baseline + FUnderlineOffset - FUnderlineThickness / 2;
        FillClipped(surface, clip, x, top, x + width, top + FUnderlineThickness, pixel);
    }
    if (width > 0 && (FStyle & fsStrikeOut)) {
        const int top = baseline - FStrikeOutOffset - FStrikeOutThickness / 2;
        FillClipped(surface, clip, x, top, x + width, top + FStrikeOutThickness, pixel);
    }
    return width;
}
