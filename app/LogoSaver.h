#pragma once

#include <QString>
#include <string>

class TLogoBuild;

// The file types of the save dialog, in the order of its filter.
enum TSaveType { stBmp = 1, stPng = 2, stTransparentPng = 3 };

// How a built logo becomes a file: the name a save writes, the bytes of the chosen
// format, and the durable write.
class TLogoSaver {
public:
    // The save dialog's filter, one entry a TSaveType.
    static QString Filter();
    // The save name with a ".bmp" extension: kept when it has one in any letter case,
    // replacing another extension, appended when there is none.
    static QString WithBmpExtension(const QString& fileName);
    // The name a save writes: a name ending in ".png" in any letter case stays as it
    // is; with the BMP type chosen, or a name ending in ".bmp", WithBmpExtension; with
    // a PNG type, the extension ".png" in the same way.
    static QString WithSaveExtension(const QString& fileName, int filterIndex);
    // The composite in the format of the file name; a transparent background only
    // where the user chose that type.
    static std::string Encode(const TLogoBuild& logo, const QString& fileName, int filterIndex);
    // Writes the encoded logo to fileName, replacing any file there only once the new
    // one is complete on the disk.
    static void Save(const TLogoBuild& logo, const QString& fileName, int filterIndex);
};
