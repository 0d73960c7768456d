#pragma once

#include "platform/base/UiLanguage.h"

#include <QString>

// A source text (UTF-8) in the program's language, as the window and its messages
// show it.
inline QString Tr(const char* source)
{
    return QString::fromUtf8(Translate(source));
}

inline QString Tr(const char* context, const char* source)
{
    return QString::fromUtf8(Translate(context, source));
}
