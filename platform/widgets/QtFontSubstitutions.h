#pragma once

// Tells Qt which faces stand in for the Windows faces that have no fontconfig alias, as
// the text engine does, so that the window's own text and the font dialog's sample show
// the face the logo is drawn with. Installing more than once does nothing more.
void InstallQtFontSubstitutions();
