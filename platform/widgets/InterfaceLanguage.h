#pragma once

#include "platform/base/UiLanguage.h"

#include <QString>

// The language of a window program: its own texts from the catalogue of the user's
// first interface language it has, and Qt's dialogs (colour, file, message buttons) in
// the same language, so that no dialog mixes two.
class TInterfaceLanguage {
public:
    // Chooses the language from the user's interface languages, or takes language when
    // one is given; reads the program's catalogue from beside programFile and installs
    // Qt's own translation. Call after the application object exists, before any
    // window is made.
    static TUiLanguage Apply(const QString& programFile);
    static TUiLanguage Apply(TUiLanguage language, const QString& programFile);
    // The name of Qt's translation the language loads ("ja"), empty for none: Qt's own
    // texts are English, and the classic texts are the Japanese window's.
    static QString QtTranslationName(TUiLanguage language);
};
