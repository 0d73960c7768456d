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
    // own type is that of a mark. From U+1E800 to U+1EFFF Unicode has no left-to-right
    // character: what FriBidi calls so there is a right-to-left letter or number (or an
    // unassigned code point, right-to-left by default) its tables do not yet hold.
    if (IsMark(code))
        return false;
    const FriBidiCharType type = fribidi_get_bidi_type(code);
    if (code >= 0x1E800 && code <= 0x1EFFF && type == FRIBIDI_TYPE_LTR)
        return true;
    switch (type) {
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
