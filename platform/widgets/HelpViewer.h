#pragma once

#include <QString>
#include <functional>

// Help for the program is an HTML page beside the help file the application names: the
// same path with the extension replaced by ".html". The page is one document, so every
// help context opens it whole.

// "/opt/v/vezodev.hlp" gives "/opt/v/vezodev.html"; a name without an extension gets
// ".html" added. Dots in folder names and a name's leading dot are no extension.
QString HelpPagePath(const QString& helpFile);

// The help page of helpFile: the page beside it when there is one, else the page of
// that name in the data folder an installed program of the help file's name keeps
// (../share/vezodev/ for vezodev.hlp); the page beside it when neither exists.
QString FindHelpPage(const QString& helpFile);

// Opens the help page of helpFile in the program's help window. An empty helpFile
// shows nothing. Throws Exception when the page is missing or cannot be shown.
void ShowHelp(const QString& helpFile, int context);

// Opens the page instead of the browser when set; returns whether it could.
using THelpOpener = std::function<bool(const QString& pagePath, int context)>;
extern THelpOpener HelpOpener;
