#include "app/StyleSnapshot.h"

#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/ProfileFile.h"
#include "platform/base/ProfileText.h"

TStyleSnapshot::TStyleSnapshot() = default;

TStyleSnapshot::~TStyleSnapshot() = default;

void TStyleSnapshot::Take(const QString& settingsPath, int fence, const QStringList& styles)
{
    FText = std::make_shared<const TProfileText>(ReadProfileFile(settingsPath).value_or(QByteArray()));
    FPath = settingsPath;
    FStyles = styles;
    FFence = fence;
    FTaken = true;
}

void TStyleSnapshot::Read(int index, const QString& defaultText, TLogoParams& params) const
{
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(FPath);
    ini.SetFence(static_cast<TIniGTFence>(FFence));
    ini.HoldText(FText);
    TStoredParams::Read(ini, FStyles[index], defaultText, params);
}
