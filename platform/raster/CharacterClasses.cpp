#include "platform/raster/CharacterClasses.h"

#include <fribidi.h>
#include <hb.h>

namespace {

hb_unicode_general_category_t Category(char32_t code)
{
    static hb_unicode_funcs_t* const unicode = hb_unicode_funcs_get_default();
    return hb_unicode_general_category(unicode, code);
}

} // namespace

bool IsMark(char32_t code)
{
    switch (Category(code)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

bool IsFormatControl(char32_t code)
{
    return Category(code) == HB_UNICODE_GENERAL_CATEGORY_FORMAT;
}

bool StaysWithBase(char32_t code)
{
    return IsMark(code) || Category(code) == HB_UNICODE_GENERAL_CATEGORY_SPACE_SEPARATOR;
}

bool IsRightToLeftOrEmbedding(char32_t code)
{
    // FriBidi's tables may be older than HarfBuzz's: a mark added since has the
    // right-to-left type FriBidi gives unassigned code points of its block, while its
    // own type is that of a mark. The unassigned code points from U+1E800 on are
    // right-to-left by Unicode's defaults, which these tables leave out.
    if (IsMark(code))
        return false;
    if (code >= 0x1E800 && code <= 0x1EFFF && Category(code) == HB_UNICODE_GENERAL_CATEGORY_UNASSIGNED)
        return true;
    switch (fribidi_get_bidi_type(code)) {
    case FRIBIDI_TYPE_RTL:
    case FRIBIDI_TYPE_AL:
    case FRIBIDI_TYPE_AN:
    case FRIBIDI_TYPE_RLE:
    case FRIBIDI_TYPE_RLO:
    case FRIBIDI_TYPE_RLI:
    case FRIBIDI_TYPE_LRE:
    case FRIBIDI_TYPE_LRO:
    case FRIBIDI_TYPE_LRI:
    case FRIBIDI_TYPE_FSI:
    case FRIBIDI_TYPE_PDF:
    case FRIBIDI_TYPE_PDI:
        return true;
    default:
        return false;
    }
}
