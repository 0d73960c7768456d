#include "platform/raster/SizedFontFile.h"

#include "platform/raster/CaseFolding.h"
#include "platform/raster/FixedPoint.h"
#include "platform/raster/FontFile.h"
#include "platform/raster/TextShaper.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TYPE1_TABLES_H

#include <algorithm>
#include <cstring>

namespace {

// The glyph bitmaps a file keeps. A large logo with smooth edges draws its line of
// text once for every band of rows, so a file keeps at least the bitmaps of a line as
// wide as the widest surface (32768 pixels) and two ems high, one bit a pixel: 8 KiB a
// pixel of em. Small ems keep 1 MiB, thousands of glyphs.
constexpr std::size_t GlyphBytesPerEm = 8 * 1024;
constexpr std::size_t MinGlyphBytes = 1024 * 1024;

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

std::vector<unsigned char> LoadTable(FT_Face handle, FT_ULong tag)
{
    FT_ULong length = 0;
    if (!FT_IS_SFNT(handle) || FT_Load_Sfnt_Table(handle, tag, 0, nullptr, &length) != 0)
        return {};
    std::vector<unsigned char> table(length);
    if (FT_Load_Sfnt_Table(handle, tag, 0, table.data(), &length) != 0)
        return {};
    return table;
}

void Close(FT_Face handle)
{
    const std::lock_guard<std::mutex> lock(LibraryLock());
    FT_Done_Face(handle);
}

} // namespace

TSizedFontFile::TSizedFontFile(const TFontFile& file, std::u16string_view requested, TFontStyles style)
    : FGlyphs(MinGlyphBytes)
{
    {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        if (file.Path.empty() || FT_New_Face(Library(), file.Path.c_str(), file.Index, &FHandle) != 0)
            FHandle = nullptr;
    }
    if (!FHandle)
        return;
    FPath = file.Path;
    FIndex = file.Index;
    for (int i = 0; i < FHandle->num_charmaps; ++i) {
        FT_CharMap map = FHandle->charmaps[i];
        switch (map->encoding) {
        case FT_ENCODING_UNICODE:
            FUnicodeMap = map;
            break;
        case FT_ENCODING_APPLE_ROMAN:
        case FT_ENCODING_ADOBE_LATIN_1:
            if (!FUnicodeMap || FUnicodeMap->encoding != FT_ENCODING_UNICODE)
                FUnicodeMap = map;
            break;
        case FT_ENCODING_ADOBE_CUSTOM:
        case FT_ENCODING_MS_SYMBOL:
            if (!FSymbolMap)
                FSymbolMap = map;
            break;
        default:
            break;
        }
    }
    FT_Set_Charmap(FHandle, FUnicodeMap);
    FSymbolAddressing = FSymbolMap != nullptr;
    // A PostScript face is addressed by byte only when its family says it is a symbol face.
    PS_FontInfoRec info;
    if (FT_Get_PS_Font_Info(FHandle, &info) == 0)
        FSymbolAddressing = ContainsIgnoringCase(requested, u"symbol");

    const std::vector<unsigned char> head = LoadTable(FHandle, FT_MAKE_TAG('h', 'e', 'a', 'd'));
    const std::vector<unsigned char> hhea = LoadTable(FHandle, FT_MAKE_TAG('h', 'h', 'e', 'a'));
    const std::vector<unsigned char> hmtx = LoadTable(FHandle, FT_MAKE_TAG('h', 'm', 't', 'x'));
    const std::vector<unsigned char> os2 = LoadTable(FHandle, FT_MAKE_TAG('O', 'S', '/', '2'));
    const std::vector<unsigned char> post = LoadTable(FHandle, FT_MAKE_TAG('p', 'o', 's', 't'));
    FTables = TFontTables::Read({head, hhea, hmtx, os2, post});
    // A face without OpenType tables (Type 1) has its units per em from FreeType; its
    // ascent and descent come from there too (VerticalUnits).
    if (head.empty() && FHandle->units_per_EM > FTables.UnitsPerEm)
        FTables.UnitsPerEm = FHandle->units_per_EM;

    // A family without an italic face gets its upright glyphs slanted. A family
    // without a bold face is drawn as it is: the desktop's text engine this replaces
    // did not thicken such faces either (IPAPGothic and Standard Symbols PS bold were
    // drawn regular), and logos keep their look.
    if ((style & fsItalic) && FT_IS_SCALABLE(FHandle) && !(FHandle->style_flags & FT_STYLE_FLAG_ITALIC))
        FObliquen = true;
}

TSizedFontFile::~TSizedFontFile()
{
    if (FShaper)
        TTextShaper::CloseFont(FShaper);
    if (FHandle)
        Close(FHandle);
}

void TSizedFontFile::SetEm(int em)
{
    FEm = em;
    LimitGlyphs(std::max(MinGlyphBytes, GlyphBytesPerEm * static_cast<std::size_t>(std::max(em, 0))));
    if (!FHandle)
        return;
    // A face that cannot take the size (a bitmap face without that strike) draws
    // nothing of its own: its characters go to the files after it.
    const FT_F26Dot6 size = Units26Dot6(em);
    if (FT_Set_Char_Size(FHandle, size, size, 0, 0) != 0) {
        Close(FHandle);
        FHandle = nullptr;
    }
}

TSizedFontFile::TVerticalUnits TSizedFontFile::VerticalUnits() const
{
    TVerticalUnits units{FTables.WinAscent.value_or(0), FTables.WinDescent.value_or(0)};
    if (units.Ascent + units.Descent == 0 && FHandle)
        units = TVerticalUnits{FHandle->ascender, -FHandle->descender};
    return units;
}

std::uint32_t TSizedFontFile::GlyphOf(char32_t code)
{
    if (!FHandle)
        return 0;
    const std::lock_guard<std::mutex> lock(FLock);
    FT_UInt glyph = FT_Get_Char_Index(FHandle, code);
    if (!glyph && (code == 0xA0 || code == 0x09)) {
        code = 0x20;
        glyph = FT_Get_Char_Index(FHandle, code);
    }
    if (!glyph && FSymbolMap) {
        FT_Set_Charmap(FHandle, FSymbolMap);
        glyph = FT_Get_Char_Index(FHandle, code);
        FT_Set_Charmap(FHandle, FUnicodeMap);
        if (!glyph && FSymbolAddressing && code < 0x100)
            glyph = FT_Get_Char_Index(FHandle, code + 0xF000);
    }
    return glyph;
}

int TSizedFontFile::HintedAdvance(std::uint32_t glyph)
{
    const std::lock_guard<std::mutex> lock(FLock);
    if (!FHandle || FT_Load_Glyph(FHandle, glyph, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
        return 0;
    return static_cast<int>(RoundedPixels(FHandle->glyph->advance.x));
}

hb_font_t* TSizedFontFile::ShaperFont()
{
    std::call_once(FShaperMade, [this] {
        if (FHandle)
            FShaper = TTextShaper::OpenFont(FPath, FIndex, FEm);
    });
    return FShaper;
}

TGlyphCache::TBitmapPtr TSizedFontFile::Bitmap(std::uint32_t glyph)
{
    TGlyphCache::TBitmapPtr bitmap;
    Bitmaps(&glyph, 1, &bitmap);
    return bitmap;
}

void TSizedFontFile::Bitmaps(const std::uint32_t* glyphs, std::size_t count, TGlyphCache::TBitmapPtr* bitmaps)
{
    const auto draw = [this](std::uint32_t missing, TGlyphCache::TBitmap& bitmap) { DrawGlyph(missing, bitmap); };
    const std::lock_guard<std::mutex> lock(FLock);
    for (std::size_t i = 0; i < count; ++i)
        bitmaps[i] = FGlyphs.Bitmap(glyphs[i], draw);
}

void TSizedFontFile::LimitGlyphs(std::size_t bytes)
{
    const std::lock_guard<std::mutex> lock(FLock);
    FGlyphs.SetLimit(bytes);
}

std::size_t TSizedFontFile::GlyphBytes()
{
    const std::lock_guard<std::mutex> lock(FLock);
    return FGlyphs.Bytes();
}

void TSizedFontFile::DrawGlyph(std::uint32_t glyph, TGlyphCache::TBitmap& bitmap)
{
    if (!FHandle)
        return;
    FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_TARGET_MONO;
    if (FObliquen)
        flags |= FT_LOAD_NO_BITMAP;
    FT_Error error = FT_Load_Glyph(FHandle, glyph, flags);
    if (error && (flags & FT_LOAD_NO_BITMAP)) {
        flags &= ~FT_LOAD_NO_BITMAP;
        error = FT_Load_Glyph(FHandle, glyph, flags);
    }
    // A fault in the font's hinting program: its glyphs are hinted automatically.
    if (error == FT_Err_Too_Few_Arguments || error == FT_Err_Execution_Too_Long)
        error = FT_Load_Glyph(FHandle, glyph, flags | FT_LOAD_FORCE_AUTOHINT);
    if (error)
        return;
    FT_GlyphSlot slot = FHandle->glyph;
    if (FObliquen)
        FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return;
    bitmap.Left = slot->bitmap_left;
    bitmap.Top = slot->bitmap_top;
    bitmap.Width = static_cast<int>(slot->bitmap.width);
    bitmap.Rows = static_cast<int>(slot->bitmap.rows);
    bitmap.Pitch = (bitmap.Width + 7) / 8;
    bitmap.Bits.resize(std::size_t(bitmap.Pitch) * bitmap.Rows);
    for (int row = 0; row < bitmap.Rows; ++row) {
        unsigned char* bits = bitmap.Bits.data() + std::size_t(row) * bitmap.Pitch;
        std::memcpy(bits, slot->bitmap.buffer + std::ptrdiff_t(row) * slot->bitmap.pitch, bitmap.Pitch);
        if (std::any_of(bits, bits + bitmap.Pitch, [](unsigned char byte) { return byte != 0; })) {
            bitmap.InkTop = bitmap.InkBottom == 0 ? row : bitmap.InkTop;
            bitmap.InkBottom = row + 1;
        }
    }
}
