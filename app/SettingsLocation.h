#pragma once

#include <QString>

// Where the window keeps its settings file. Run from its build folder or from any folder
// it was unpacked to, the program keeps the file beside itself. Installed, recognised by
// its data in ../share/vezodev beside the program's folder, it never writes into the
// install prefix: each user's file lives in the per-user configuration folder, in a
// folder "vezodev" of its own.
class TSettingsLocation {
public:
    static bool IsInstalled(const QString& programFile);

    // For an installed program, the full path of the user's settings file called
    // fileName, with its folders made when missing (a folder that cannot be made is
    // left to the first write to report); empty when the program is not installed.
    static QString PrepareUserFile(const QString& programFile, const QString& fileName);
};
