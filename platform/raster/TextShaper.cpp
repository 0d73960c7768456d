#include "platform/raster/TextShaper.h"

#include "platform/raster/CharacterClasses.h"
#include "platform/raster/FixedPoint.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>
#include <limits>

namespace {

// The first time HarfBuzz is asked for its default language it reads the process's
// locale through setlocale, which is not thread-safe; later answers are what it kept.
// It is asked here, as the library loads: on the main thread, before the renderer
// starts its batch's workers or the window any thread, whatever code shapes first.
// The program has not set its locale yet, so every logo is shaped with the same
// language, the "C" locale's (no particular one), whatever the desktop's locale.
const hb_language_t DefaultLanguage = hb_language_get_default();

bool IsShapedScript(char32_t code)
{
    static hb_unicode_funcs_t* const unicode = hb_unicode_funcs_get_default();
    switch (hb_unicode_script(unicode, code)) {
    case HB_SCRIPT_ARABIC:
    case HB_SCRIPT_HEBREW:
    case HB_SCRIPT_SYRIAC:
    case HB_SCRIPT_THAANA:
    case HB_SCRIPT_NKO:
    case HB_SCRIPT_DEVANAGARI:
    case HB_SCRIPT_BENGALI:
    case HB_SCRIPT_GURMUKHI:
    case HB_SCRIPT_GUJARATI:
    case HB_SCRIPT_ORIYA:
    case HB_SCRIPT_TAMIL:
    case HB_SCRIPT_TELUGU:
    case HB_SCRIPT_KANNADA:
    case HB_SCRIPT_MALAYALAM:
    case HB_SCRIPT_SINHALA:
    case HB_SCRIPT_THAI:
    case HB_SCRIPT_LAO:
    case HB_SCRIPT_TIBETAN:
    case HB_SCRIPT_MYANMAR:
    case HB_SCRIPT_KHMER:
    case HB_SCRIPT_MONGOLIAN:
        return true;
    default:
        return false;
    }
}

struct TRun {
    std::size_t Start = 0;
    std::size_t Length = 0;
    FriBidiLevel Level = 0;
    hb_script_t Script = HB_SCRIPT_COMMON;
    int Font = 0;
};

// Each character's script, with common and inherited characters (spaces, digits,
// punctuation, marks) taking the script of the character before them, or of the first
// one after them at the start of the line.
std::vector<hb_script_t> ResolvedScripts(std::u32string_view codes)
{
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(codes.size());
    hb_script_t last = HB_SCRIPT_INVALID;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const hb_script_t script = hb_unicode_script(unicode, codes[i]);
        const bool weak = script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
        if (!weak)
            last = script;
        scripts[i] = weak ? last : script;
    }
    hb_script_t next = HB_SCRIPT_COMMON;
    for (std::size_t i = codes.size(); i-- > 0;) {
        if (scripts[i] == HB_SCRIPT_INVALID)
            scripts[i] = next;
        else
            next = scripts[i];
    }
    return scripts;
}

// Runs in visual order: reversal of every stretch of runs at a level or higher, from
// the highest level down to the lowest odd one (rule L2 of the bidirectional algorithm).
void OrderVisually(std::vector<TRun>& runs)
{
    int highest = 0;
    int lowestOdd = 1000;
    for (const TRun& run : runs) {
        highest = std::max<int>(highest, run.Level);
        if (run.Level % 2)
            lowestOdd = std::min<int>(lowestOdd, run.Level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        for (std::size_t i = 0; i < runs.size();) {
            if (runs[i].Level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < runs.size() && runs[end].Level >= level)
                ++end;
            std::reverse(runs.begin() + std::ptrdiff_t(i), runs.begin() + std::ptrdiff_t(end));
            i = end;
        }
    }
}

// A run in a font HarfBuzz cannot read, one glyph a character, put on the line from pen.
void SetCharacterByCharacter(std::u32string_view codes, const TRun& run,
                             std::span<const TTextShaper::TNominalGlyph> nominal, TTextShaper::TLine& line,
                             std::int64_t& pen)
{
    for (std::size_t k = 0; k < run.Length; ++k) {
        const std::size_t i = run.Level % 2 ? run.Start + run.Length - 1 - k : run.Start + k;
        if (TTextShaper::IsDefaultIgnorable(codes[i]))
            continue;
        const TTextShaper::TNominalGlyph glyph = i < nominal.size() ? nominal[i] : TTextShaper::TNominalGlyph{};
        line.Glyphs.push_back(TTextShaper::TGlyph{run.Font, glyph.Glyph, pen, 0, glyph.Advance, true});
        pen += glyph.Advance;
    }
}

} // namespace

bool TTextShaper::NeedsShaping(std::u32string_view codes)
{
    for (const char32_t code : codes) {
        if (code < 0x300)
            continue; // Latin, its extensions and the spacing modifiers
        // Kana (less the two combining sound marks), the CJK ideographs and the full- and
        // half-width forms: most of Japanese text, answered without a table.
        if ((code >= 0x3041 && code <= 0x3096) || (code >= 0x309B && code <= 0x30FF)
            || (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xFF01 && code <= 0xFFEF))
            continue;
        if (IsMark(code) || IsFormatControl(code) || IsRightToLeftOrEmbedding(code))
            return true;
        if (IsShapedScript(code))
            return true;
    }
    return false;
}

bool TTextShaper::IsDefaultIgnorable(char32_t code)
{
    return IsFormatControl(code) || code == 0x034F || (code >= 0x180B && code <= 0x180F)
        || (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xE0100 && code <= 0xE01EF);
}

TTextShaper::TLine TTextShaper::Shape(std::u32string_view codes, std::span<const int> fontOfCode,
                                      std::span<hb_font_t* const> fonts, std::span<const TNominalGlyph> nominal)
{
    TLine line;
    const std::size_t count = codes.size();
    if (count == 0)
        return line;
    const auto* text = reinterpret_cast<const FriBidiChar*>(codes.data());
    std::vector<FriBidiCharType> types(count);
    std::vector<FriBidiBracketType> brackets(count);
    std::vector<FriBidiLevel> levels(count);
    fribidi_get_bidi_types(text, FriBidiStrIndex(count), types.data());
    fribidi_get_bracket_types(text, FriBidiStrIndex(count), types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON; // from the first strong character
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), FriBidiStrIndex(count), &direction,
                                             levels.data()))
        std::fill(levels.begin(), levels.end(), FriBidiLevel(0));
    const std::vector<hb_script_t> scripts = ResolvedScripts(codes);

    std::vector<TRun> runs;
    for (std::size_t i = 0; i < count; ++i) {
        if (!runs.empty() && runs.back().Level == levels[i] && runs.back().Script == scripts[i]
            && runs.back().Font == fontOfCode[i]) {
            ++runs.back().Length;
            continue;
        }
        runs.push_back(TRun{i, 1, levels[i], scripts[i], fontOfCode[i]});
    }
    OrderVisually(runs);

    hb_buffer_t* buffer = hb_buffer_create();
    std::int64_t pen = 0;
    for (const TRun& run : runs) {
        hb_font_t* font = run.Font >= 0 && std::size_t(run.Font) < fonts.size() ? fonts[std::size_t(run.Font)] : nullptr;
        if (!font) {
            SetCharacterByCharacter(codes, run, nominal, line, pen);
            continue;
        }
        hb_buffer_clear_contents(buffer);
        // The whole line is the context, so letters join across a change of font.
        hb_buffer_add_codepoints(buffer, reinterpret_cast<const hb_codepoint_t*>(codes.data()), int(count),
                                 unsigned(run.Start), int(run.Length));
        hb_buffer_set_direction(buffer, run.Level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, run.Script);
        hb_buffer_set_language(buffer, DefaultLanguage);
        hb_shape(font, buffer, nullptr, 0);
        unsigned glyphCount = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &glyphCount);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &glyphCount);
        for (unsigned g = 0; g < glyphCount; ++g) {
            const int advance = int(RoundedPixels(positions[g].x_advance));
            // Glyphs of one cluster stand together in the buffer, in either direction.
            const bool clusterStart = g == 0 || infos[g].cluster != infos[g - 1].cluster;
            line.Glyphs.push_back(TGlyph{run.Font, infos[g].codepoint, pen + RoundedPixels(positions[g].x_offset),
                                         int(RoundedPixels(positions[g].y_offset)), advance, clusterStart});
            pen += advance;
        }
    }
    hb_buffer_destroy(buffer);
    line.Width = pen;
    return line;
}

hb_font_t* TTextShaper::OpenFont(const std::string& path, int index, int em)
{
    // HarfBuzz scales in 26.6 ints: an em whose scale does not fit is not shaped.
    if (Units26Dot6(em) > std::numeric_limits<int>::max())
        return nullptr;
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob)
        return nullptr;
    hb_face_t* face = hb_face_create(blob, unsigned(index));
    hb_blob_destroy(blob);
    // A file HarfBuzz cannot parse still gives a face, an empty one: every character
    // would shape to glyph 0.
    if (hb_face_get_glyph_count(face) == 0) {
        hb_face_destroy(face);
        return nullptr;
    }
    hb_font_t* font = hb_font_create(face);
    hb_face_destroy(face);
    const int scale = static_cast<int>(Units26Dot6(em));
    hb_font_set_scale(font, scale, scale);
    hb_font_set_ppem(font, unsigned(em), unsigned(em));
    hb_font_make_immutable(font);
    return font;
}

void TTextShaper::CloseFont(hb_font_t* font)
{
    hb_font_destroy(font);
}
