#pragma once

#include <string_view>

// The names of the settings file's sections and keys, as the window writes them and the
// renderer reads them.
struct TSettingsKeys {
    // The last parameters; every style has a section of the same keys, named after it.
    static constexpr std::u16string_view LastParams = u"OPTION";
    static constexpr std::u16string_view BgColor = u"BGCOLOR";
    static constexpr std::u16string_view TopColor = u"TOPCOLOR";
    static constexpr std::u16string_view LastColor = u"LASTCOLOR";
    static constexpr std::u16string_view Font = u"FONT";
    static constexpr std::u16string_view Text = u"TEXT";
    static constexpr std::u16string_view MixType = u"MIXTYPE";
    static constexpr std::u16string_view GraType = u"GRATYPE";
    static constexpr std::u16string_view HSpace = u"HSPACE";
    static constexpr std::u16string_view VSpace = u"VSPACE";
    static constexpr std::u16string_view Smooth = u"SMOOTH";
    // The effects, present only while the effect is on.
    static constexpr std::u16string_view Spacing = u"SPACING";
    static constexpr std::u16string_view OutlineWidth = u"OUTLINE.Width";
    static constexpr std::u16string_view OutlineColor = u"OUTLINE.Color";
    static constexpr std::u16string_view ShadowX = u"SHADOW.X";
    static constexpr std::u16string_view ShadowY = u"SHADOW.Y";
    static constexpr std::u16string_view ShadowColor = u"SHADOW.Color";

    // The style list: the section and the stem of its numbered keys.
    static constexpr std::u16string_view Styles = u"STYLES";
    static constexpr std::u16string_view Style = u"STYLE";

    // The last saved file's name.
    static constexpr std::u16string_view SaveFileSection = u"Option";
    static constexpr std::u16string_view SaveFile = u"SaveFile";

    // The window's position.
    static constexpr std::u16string_view BoundsSection = u"Bounds";
    static constexpr std::u16string_view WindowSize = u"WindowSize";
};
