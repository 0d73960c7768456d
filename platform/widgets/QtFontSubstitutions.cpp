#include "platform/widgets/QtFontSubstitutions.h"

#include "platform/raster/FontLocator.h"
#include "platform/widgets/QtText.h"

#include <QFont>

void InstallQtFontSubstitutions()
{
    static const bool installed = [] {
        for (const auto& [windows, standIn] : TFontLocator::Substitutions())
            QFont::insertSubstitution(ToQString(windows), ToQString(standIn));
        return true;
    }();
    (void)installed;
}
