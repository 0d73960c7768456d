#include "platform/widgets/QtFontSubstitutions.h"

#include "platform/raster/FontLocator.h"

#include <QFont>

void InstallQtFontSubstitutions()
{
    static const bool installed = [] {
        for (const auto& [windows, standIn] : TFontLocator::Substitutions())
            QFont::insertSubstitution(windows, standIn);
        return true;
    }();
    (void)installed;
}
