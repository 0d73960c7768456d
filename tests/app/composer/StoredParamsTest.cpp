#include "app/composer/StoredParams.h"
#include "components/IniGT.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TLogoParams ReadOption(const QByteArray& settings)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Logo.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(settings);
    file.close();
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(path);
    TLogoParams params = TLogoParams::Defaults();
    TStoredParams::Read(ini, QStringLiteral("OPTION"), QStringLiteral("Vezodev"), params);
    return params;
}

// A size whose height passes the tallest font is limited to it, as a margin out of
// range is, instead of overflowing into a font one pixel high.
TEST(StoredParamsTest, AFontSizeBeyondTheTallestFontIsLimitedToIt)
{
    struct TCase {
        const char* Size;
        int Height;
    };
    for (const TCase& c : {TCase{"2000000000", -TLogoParams::MaxFontHeight}, TCase{"-2000000000", TLogoParams::MaxFontHeight},
                           TCase{"24575", -TLogoParams::MaxFontHeight}, TCase{"22", -29}, TCase{"-21", 28}}) {
        SCOPED_TRACE(c.Size);
        const TLogoParams params = ReadOption(QByteArray("[OPTION]\r\nFONT.Size=") + c.Size + "\r\n");
        EXPECT_EQ(params.Font.Height(), c.Height);
    }
}

TEST(StoredParamsTest, ALogoOfTheTallestFontIsRefusedWithItsSize)
{
    const TLogoParams params = ReadOption("[OPTION]\r\nFONT.Size=2000000000\r\nTEXT=Vezodev\r\n");
    EXPECT_THROW(TLogoComposer::CheckLogoSize(TLogoComposer::LogoSize(params)), ELogoSizeError);
}

} // namespace
