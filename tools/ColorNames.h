#pragma once

#include "platform/raster/Color.h"

#include <optional>
#include <string_view>
#include <vector>

// The CSS colour keywords (CSS Color Module Level 4, less "transparent", which is no
// opaque colour), so that the renderer reads colour names without the GUI toolkit.
class TColorNames {
public:
    // The colour of a name in any letter case, or nothing for an unknown name.
    static std::optional<TColor> Find(std::u16string_view name);
    // Every name, in alphabetical order.
    static std::vector<std::string_view> All();
};
