#include "platform/base/InstalledData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Qt's own answer is the oracle: the folder cleaned of ".", ".." and repeated or
// trailing "/", made absolute against the current folder, links left alone.
TEST(InstalledData, DataFolderIsShareBesideTheProgramsFolder)
{
    const char* const cases[][2] = {
        {"/usr/bin/vezodev", "vezodev"},
        {"/usr/./bin/../bin/vezodev", "help/"},
        {"/opt//vezodev/bin/vezodev", "locale"},
        {"bin/vezodev", "vezodev"},
        {"vezodev", "help"},
    };
    for (const auto& [program, name] : cases) {
        SCOPED_TRACE(program);
        const QString expected = QDir::cleanPath(QFileInfo(QString::fromUtf8(program)).absolutePath()
                                                 + QStringLiteral("/../share/") + QString::fromUtf8(name));
        EXPECT_EQ(InstalledDataFolder(program, name).u16string(), expected.toStdU16String());
    }
}

// Qt knows the running program's file once an application object exists; the system's
// link says the same.
TEST(InstalledData, RunningProgramFileIsTheProgramQtNames)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(RunningProgramFile().u16string(), QCoreApplication::applicationFilePath().toStdU16String());
}

} // namespace
