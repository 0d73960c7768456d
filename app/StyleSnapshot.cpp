#include "app/StyleSnapshot.h"

#include "app/composer/SettingsKeys.h"
#include "app/composer/StoredParams.h"
#include "components/IniGT.h"
#include "platform/raster/AsciiCase.h"
#include "platform/raster/ProfileText.h"

#include <QFile>
#include <algorithm>
#include <vector>

namespace {

struct TSplit {
    const QStringList& Styles;
    const std::vector<QString>& Keys; // the names folded
    const QString& Folder;

    // Erases the sections of the styles in [first, last) from text, except a section
    // that one of keep's styles shares.
    void Erase(TProfileText& text, int first, int last, int keepFirst, int keepLast) const
    {
        for (int i = first; i < last; ++i) {
            const auto kept = std::find(Keys.begin() + keepFirst, Keys.begin() + keepLast, Keys[i]);
            if (kept == Keys.begin() + keepLast)
                text.EraseSection(Styles[i]);
        }
    }

    // Halves the range until one style is left, so each section is erased from a text
    // of about the size of the range it is erased for, and the whole split costs about
    // as much as a few readings of the file.
    void Run(TProfileText text, int first, int last) const
    {
        if (last - first == 1) {
            QFile file(Folder + QStringLiteral("/%1.ini").arg(first));
            if (file.open(QIODevice::WriteOnly))
                file.write(text.Bytes());
            return;
        }
        const int middle = first + (last - first) / 2;
        TProfileText upper = text;
        Erase(upper, middle, last, first, middle);
        Run(std::move(upper), first, middle);
        Erase(text, first, middle, middle, last);
        Run(std::move(text), middle, last);
    }
};

} // namespace

TStyleSnapshot::TStyleSnapshot() = default;

TStyleSnapshot::~TStyleSnapshot() = default;

void TStyleSnapshot::Take(const QString& settingsPath, int fence, const QStringList& styles)
{
    FFolder = std::make_unique<QTemporaryDir>();
    FStyles = styles;
    FFence = fence;
    FTaken = true;
    QByteArray bytes;
    QFile settings(settingsPath);
    if (settings.open(QIODevice::ReadOnly))
        bytes = settings.readAll();
    if (styles.isEmpty() || !FFolder->isValid())
        return;
    std::vector<QString> keys;
    for (const QString& style : styles)
        keys.push_back(AsciiUpper(style.trimmed()));
    TProfileText text(bytes);
    // The style list is the file's largest section; no style needs it unless it is
    // called by its name.
    const QString& list = TSettingsKeys::Styles;
    if (std::find(keys.begin(), keys.end(), list) == keys.end())
        text.EraseSection(list);
    TSplit{styles, keys, FFolder->path()}.Run(std::move(text), 0, static_cast<int>(styles.size()));
}

QString TStyleSnapshot::FileOf(int index) const
{
    return FFolder->filePath(QStringLiteral("%1.ini").arg(index));
}

void TStyleSnapshot::Read(int index, const QString& defaultText, TLogoParams& params) const
{
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(FileOf(index));
    ini.SetFence(static_cast<TIniGTFence>(FFence));
    TStoredParams::Read(ini, FStyles[index], defaultText, params);
}
