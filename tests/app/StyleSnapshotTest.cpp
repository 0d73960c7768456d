#include "app/composer/StoredParams.h"
#include "app/StyleSnapshot.h"
#include "components/IniGT.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Describe(const TLogoParams& params)
{
    return QStringList{params.Text, params.Font.Name(), QString::number(params.Font.Height()),
                       QString::number(params.BgColor), QString::number(params.TopColor),
                       QString::number(params.MixType), QString::number(params.HSpace), QString::number(params.Smooth)}
        .join(u'|');
}

// Each style read from its own small file reads as from the whole file, whatever
// names share a section.
TEST(StyleSnapshotTest, EachStyleReadsAsFromTheWholeFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Vezodev.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[OPTION]\r\nTEXT=last\r\nMIXTYPE=3\r\n[STYLES]\r\nSTYLE.Count=7\r\n"
               "[Blue]\r\nBGCOLOR=0x00FF0000\r\nSMOOTH=5\r\n[blue]\r\nBGCOLOR=0x000000FF\r\n"
               "[Red]\r\nTEXT=red\r\nHSPACE=9\r\n; a comment\r\nFONT.Name=Serif\r\n"
               "[ Green ]\r\nMIXTYPE=4\r\n[Red]\r\nTEXT=second red\r\n");
    file.close();
    const QStringList styles = {"Red", "blue", "option", "Missing", "Blue", "Green", "STYLES"};
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(path);
    ini.SetFence(fnNone);
    TStyleSnapshot snapshot;
    snapshot.Take(path, fnNone, styles);
    for (int index = 0; index < styles.size(); ++index) {
        SCOPED_TRACE(styles[index].toStdString());
        TLogoParams whole = TLogoParams::Defaults(), split = TLogoParams::Defaults();
        TStoredParams::Read(ini, styles[index], QStringLiteral("default"), whole);
        snapshot.Read(index, QStringLiteral("default"), split);
        EXPECT_EQ(Describe(split), Describe(whole));
    }
}

} // namespace
