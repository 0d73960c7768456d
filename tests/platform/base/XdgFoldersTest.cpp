#include "platform/base/XdgFolders.h"

#include "EnvironmentOverride.h"

#include <QDir>
#include <gtest/gtest.h>
#include <string>

namespace {

// Qt's home folder is the oracle for the cleaning of $HOME.
TEST(XdgFolders, VariableWhenAbsoluteElseBelowTheCleanedHomeFolder)
{
    const char* const cases[][2] = {
        {"/home/u", "/elsewhere/dir"},
        {"/home/u", "/elsewhere/dir///"},
        {"/home/u", "relative/dir"},
        {"/home/u", ""},
        {"/home/u", nullptr},
        {"/home//u/./x/../", nullptr},
        {"/", nullptr},
        {"", nullptr},
        {nullptr, nullptr},
    };
    for (const auto& [home, config] : cases) {
        SCOPED_TRACE(std::string(home ? home : "-") + " " + (config ? config : "-"));
        const TEnvironmentOverride homeVariable("HOME", home);
        const TEnvironmentOverride configVariable("XDG_CONFIG_HOME", config);
        QString expected = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (!QDir::isAbsolutePath(expected))
            expected = QDir::homePath() + QStringLiteral("/.config");
        while (expected.size() > 1 && expected.endsWith(u'/'))
            expected.chop(1);
        EXPECT_EQ(XdgFolder(xfConfig).u16string(), expected.toStdU16String());
    }
}

} // namespace
