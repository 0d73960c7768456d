#include "composer/StoredParams.h"
#include "app/StyleSnapshot.h"
#include "components/settings/IniGT.h"
#include "platform/widgets/QtText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Describe(const TLogoParams& params)
{
    const TFont& font = params.Font;
    return QStringList{ToQString(params.Text), ToQString(font.Name()), QString::number(font.Height()), QString::number(font.Style()),
                       QString::number(font.Color()), QString::number(font.Charset()), QString::number(params.BgColor),
                       QString::number(params.TopColor), QString::number(params.LastColor), QString::number(params.GraType),
                       QString::number(params.MixType), QString::number(params.HSpace), QString::number(params.VSpace),
                       QString::number(params.Smooth), QString::number(font.Pitch()),
                       QString::number(params.Effects.Spacing), QString::number(params.Effects.OutlineWidth),
                       QString::number(params.Effects.OutlineColor), QString::number(params.Effects.ShadowX),
                       QString::number(params.Effects.ShadowY), QString::number(params.Effects.ShadowColor)}
        .join(u'|');
}

// Each style read from the snapshot reads as from the file, whatever names share a
// section, and taking the snapshot leaves no file behind.
TEST(StyleSnapshotTest, EachStyleReadsAsFromTheWholeFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Vezodev.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[OPTION]\r\nTEXT=last\r\nMIXTYPE=3\r\n[STYLES]\r\nSTYLE.Count=7\r\n"
               "[Blue]\r\nBGCOLOR=0x00FF0000\r\nSMOOTH=5\r\nGRATYPE=2\r\nLASTCOLOR=0x00123456\r\n"
               "SPACING=3\r\nOUTLINE.Width=2\r\nOUTLINE.Color=0x00112233\r\nSHADOW.X=-4\r\nSHADOW.Y=5\r\n"
               "SHADOW.Color=0x00445566\r\n[blue]\r\nBGCOLOR=0x000000FF\r\n"
               "[Red]\r\nTEXT=red\r\nHSPACE=9\r\nVSPACE=4\r\n; a comment\r\nFONT.Name=Serif\r\n"
               "FONT.Size=30\r\nFONT.Style=5\r\nFONT.Color=0x000000FF\r\n"
               "[ Green ]\r\nMIXTYPE=4\r\nTOPCOLOR=0x00ABCDEF\r\n[Red]\r\nTEXT=second red\r\n");
    file.close();
    const QStringList styles = {"Red", "blue", "option", "Missing", "Blue", "Green", "STYLES"};
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(ToText(path));
    ini.SetFence(fnNone);
    QTemporaryDir temporary;
    const QByteArray oldTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary.path().toLocal8Bit());
    TStyleSnapshot snapshot;
    snapshot.Take(ToText(path), fnNone, ToTextList(styles));
    qputenv("TMPDIR", oldTemporary);
    EXPECT_TRUE(QDir(temporary.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    for (int index = 0; index < styles.size(); ++index) {
        SCOPED_TRACE(styles[index].toStdString());
        TLogoParams whole = TLogoParams::Defaults(), split = TLogoParams::Defaults();
        TStoredParams::Read(ini, ToText(styles[index]), u"default", whole);
        snapshot.Read(index, u"default", split);
        EXPECT_EQ(Describe(split), Describe(whole));
    }
    // The effects keys are read at all, not merely left at their defaults on both sides.
    TLogoParams blue = TLogoParams::Defaults();
    snapshot.Read(4, u"default", blue);
    EXPECT_EQ(blue.Effects.Spacing, 3);
    EXPECT_EQ(blue.Effects.OutlineColor, TColor(0x00112233));
    EXPECT_EQ(blue.Effects.ShadowX, -4);
    EXPECT_EQ(blue.Effects.ShadowColor, TColor(0x00445566));
}

} // namespace
