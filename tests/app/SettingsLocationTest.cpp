#include "app/SettingsLocation.h"

#include "EnvironmentOverride.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Fake install prefixes and unpacked folders in a temporary folder, with the user's
// configuration folder pointed into it.
class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FFolder.isValid()); }
    QString Path(const QString& relative) const { return FFolder.filePath(relative); }

    QTemporaryDir FFolder;
    const TEnvironmentOverride FConfig{"XDG_CONFIG_HOME", QFile::encodeName(Path("config")).constData()};
};

TEST_F(SettingsLocationTest, OnlyAProgramBesideItsSharedDataIsInstalled)
{
    ASSERT_TRUE(QDir().mkpath(Path("usr/bin")));
    ASSERT_TRUE(QDir().mkpath(Path("usr/share/vezodev")));
    ASSERT_TRUE(QDir().mkpath(Path("unpacked")));
    ASSERT_TRUE(QDir().mkpath(Path("other/bin")));
    ASSERT_TRUE(QDir().mkpath(Path("other/share")));
    WriteAll(Path("other/share/vezodev"), "a file, not the data folder");
    const struct {
        const char* Program;
        bool Installed;
    } cases[] = {
        {"usr/bin/vezodev", true},
        {"unpacked/vezodev", false},
        {"other/bin/vezodev", false},
        {"usr/share/vezodev/vezodev", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Program);
        EXPECT_EQ(TSettingsLocation::IsInstalled(Path(c.Program)), c.Installed);
        const QString file = TSettingsLocation::PrepareUserFile(Path(c.Program), QStringLiteral("Vezodev.ini"));
        EXPECT_EQ(file, c.Installed ? Path("config/vezodev/Vezodev.ini") : QString());
    }
    EXPECT_TRUE(QFileInfo(Path("config/vezodev")).isDir()) << "the user's folder is made";
    EXPECT_EQ(Entries(Path("usr/bin")), QStringList()) << "nothing in the prefix";
}

TEST_F(SettingsLocationTest, WithoutAnAbsoluteConfigurationFolderTheHomeFoldersConfigIsUsed)
{
    ASSERT_TRUE(QDir().mkpath(Path("usr/bin")));
    ASSERT_TRUE(QDir().mkpath(Path("usr/share/vezodev")));
    const TEnvironmentOverride home("HOME", QFile::encodeName(Path("home")).constData());
    for (const QByteArray& config : {QByteArray(), QByteArray("relative/config")}) {
        SCOPED_TRACE(config.toStdString());
        qputenv("XDG_CONFIG_HOME", config);
        EXPECT_EQ(TSettingsLocation::PrepareUserFile(Path("usr/bin/vezodev"), QStringLiteral("Vezodev.ini")),
                  Path("home/.config/vezodev/Vezodev.ini"));
    }
    EXPECT_TRUE(QFileInfo(Path("home/.config/vezodev")).isDir());
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("relative"))));
}

} // namespace
