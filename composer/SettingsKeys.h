#pragma once

#include <QString>

// The names of the settings file's sections and keys, as the window writes them and the
// renderer reads them.
struct TSettingsKeys {
    // The last parameters; every style has a section of the same keys, named after it.
    static inline const QString LastParams = QStringLiteral("OPTION");
    static inline const QString BgColor = QStringLiteral("BGCOLOR");
    static inline const QString TopColor = QStringLiteral("TOPCOLOR");
    static inline const QString LastColor = QStringLiteral("LASTCOLOR");
    static inline const QString Font = QStringLiteral("FONT");
    static inline const QString Text = QStringLiteral("TEXT");
    static inline const QString MixType = QStringLiteral("MIXTYPE");
    static inline const QString GraType = QStringLiteral("GRATYPE");
    static inline const QString HSpace = QStringLiteral("HSPACE");
    static inline const QString VSpace = QStringLiteral("VSPACE");
    static inline const QString Smooth = QStringLiteral("SMOOTH");
    // The effects, present only while the effect is on.
    static inline const QString Spacing = QStringLiteral("SPACING");
    static inline const QString OutlineWidth = QStringLiteral("OUTLINE.Width");
    static inline const QString OutlineColor = QStringLiteral("OUTLINE.Color");
    static inline const QString ShadowX = QStringLiteral("SHADOW.X");
    static inline const QString ShadowY = QStringLiteral("SHADOW.Y");
    static inline const QString ShadowColor = QStringLiteral("SHADOW.Color");

    // The style list: the section and the stem of its numbered keys.
    static inline const QString Styles = QStringLiteral("STYLES");
    static inline const QString Style = QStringLiteral("STYLE");

    // The last saved file's name.
    static inline const QString SaveFileSection = QStringLiteral("Option");
    static inline const QString SaveFile = QStringLiteral("SaveFile");

    // The window's position.
    static inline const QString BoundsSection = QStringLiteral("Bounds");
    static inline const QString WindowSize = QStringLiteral("WindowSize");
};
