#pragma once

#include "composer/LogoComposer.h"

#include <string_view>

// A logo for tests that compare layers pixel by pixel: the window's default logo with the
// text on the background, and a gradient from top to last running left to right, so that
// each column of the gradient layer has a colour of its own, mixed by mixType.
TLogoParams LeftRightLogo(std::u16string_view text, TColor background, TColor top, TColor last, TMixType mixType);
