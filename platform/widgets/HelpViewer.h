#pragma once

#include "platform/base/UiLanguage.h"

#include <QString>
#include <functional>

// Help for the program is an HTML page beside the help file the application names: the
// same path with the extension replaced by ".html", in Japanese, and ".en.html" for the
// English page. The page is one document, so every help context opens it whole.

// "/opt/v/vezodev.hlp" gives "/opt/v/vezodev.html"; a name without an extension gets
// ".html" added. Dots in folder names and a name's leading dot are no extension.
QString HelpPagePath(const QString& helpFile);

// The page of helpFile for the window's language: "/opt/v/vezodev.en.html" in English,
// HelpPagePath's page in Japanese and in the classic texts.
QString HelpPagePath(const QString& helpFile, TUiLanguage language);

// The help page of helpFile in language: the page beside it when there is one, else the
// page of that name in the data folder an installed program of the help file's name
// keeps (../share/vezodev/ for vezodev.hlp). Without an English page the Japanese one
// is found instead. The Japanese page beside the help file when none exists.
QString FindHelpPage(const QString& helpFile, TUiLanguage language);

// Opens the help page of helpFile, in the program's current language, in the program's
// help window. An empty helpFile shows nothing. Throws Exception when the page is
// missing or cannot be shown.
void ShowHelp(const QString& helpFile, int context);

// Opens the page instead of the browser when set; returns whether it could.
using THelpOpener = std::function<bool(const QString& pagePath, int context)>;
extern THelpOpener HelpOpener;
