#include "platform/base/XdgFolders.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Sets the variables of one case and puts the old values back when it ends.
class TVariables {
public:
    TVariables(const char* home, const char* config)
    {
        Save("HOME", home);
        Save("XDG_CONFIG_HOME", config);
    }
    ~TVariables()
    {
        for (const TOld& old : FOld) {
            if (old.Set)
                setenv(old.Name, old.Value.c_str(), 1);
            else
                unsetenv(old.Name);
        }
    }
    TVariables(const TVariables&) = delete;
    TVariables& operator=(const TVariables&) = delete;

private:
    struct TOld {
        const char* Name;
        bool Set;
        std::string Value;
    };
    std::vector<TOld> FOld;

    void Save(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        FOld.push_back({name, old != nullptr, old ? old : ""});
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
};

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
        const TVariables variables(home, config);
        QString expected = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (!QDir::isAbsolutePath(expected))
            expected = QDir::homePath() + QStringLiteral("/.config");
        while (expected.size() > 1 && expected.endsWith(u'/'))
            expected.chop(1);
        EXPECT_EQ(XdgFolder(xfConfig).u16string(), expected.toStdU16String());
    }
}

} // namespace
