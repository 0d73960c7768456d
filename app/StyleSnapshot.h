#pragma once

#include "app/composer/LogoComposer.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The styles of a settings file as they stood at one moment, each in a small file of
// its own. The settings store reads the whole file anew for every key; a file of 200
// styles is then read 3000 times to show them all, and each reading of it takes
// longer the more styles it holds. Here the file is read once and split, and each
// style is read from its own file, with the same store and the same rules.
class TStyleSnapshot {
public:
    TStyleSnapshot();
    ~TStyleSnapshot();

    // Reads the settings file (a missing one holds no sections) and writes one file
    // per style; a style shares its file with any other style whose name matches its
    // own, as their sections are one. fence is the store's.
    void Take(const QString& settingsPath, int fence, const QStringList& styles);
    bool Taken() const { return FTaken; }
    void Forget() { FTaken = false; }

    // TStoredParams::Read of the style at index over params.
    void Read(int index, const QString& defaultText, TLogoParams& params) const;

private:
    QString FileOf(int index) const;

    std::unique_ptr<QTemporaryDir> FFolder;
    QStringList FStyles;
    int FFence = 0;
    bool FTaken = false;
};
