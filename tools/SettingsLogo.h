#pragma once

#include "composer/LogoComposer.h"

#include <optional>
#include <string>

// The logo a settings file describes, read as the window reads it at start: the last
// parameters ("OPTION") over the window's design values, then, when a style is named,
// that style's section over them. The file is only read. A file that cannot be read
// throws EUsageError naming it and the system's reason, an unknown style one naming the
// style; a malformed colour throws the conversion error.
TLogoParams ReadSettingsLogo(const std::u16string& iniPath, const std::optional<std::u16string>& styleName);
