#include "Form1TestSupport.h"
#include "EnvironmentOverride.h"
#include "TestFiles.h"

#include "components/widgets/IniGTComponent.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/raster/Font.h"
#include "platform/widgets/Label.h"
#include "platform/base/ShiftJis.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <iostream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Counts the renames out of a folder's names, as the kernel reports them, for as long as
// the counter lives: each atomic replacement renames its own temporary file. (The kernel
// merges the events of successive renames onto one name, so those are not counted.)
class TReplacementCounter {
public:
    explicit TReplacementCounter(const QString& folder)
    {
        FDescriptor = inotify_init1(IN_NONBLOCK);
        if (FDescriptor >= 0)
            inotify_add_watch(FDescriptor, QFile::encodeName(folder).constData(), IN_MOVED_FROM);
    }
    ~TReplacementCounter()
    {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }
    TReplacementCounter(const TReplacementCounter&) = delete;
    TReplacementCounter& operator=(const TReplacementCounter&) = delete;

    bool Watching() const { return FDescriptor >= 0; }
    int Count()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t length = ::read(FDescriptor, buffer, sizeof buffer);
            if (length <= 0)
                return FCount;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_MOVED_FROM) != 0)
                    ++FCount;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int FDescriptor = -1;
    int FCount = 0;
};

class Form1SettingsTest : public Form1Fixture {
protected:
};

// The logo text, the font name and the saved file name come back exactly after a
// restart, whatever the code page can hold; text it can hold is stored as before.
TEST_F(Form1SettingsTest, AnyTextSurvivesARestart)
{
    const struct {
        const char* Name;
        QString Text;
    } cases[] = {
        {"LatinSymbols", QString::fromUtf8("Caf\u00e9 \u20ac \u2713")},
        {"Emoji", QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"JapaneseAndLatin", QString::fromUtf8("\u30ed\u30b4 Logo \u00e9t\u00e9 \u9ad9")},
        {"EscapeCharacters", QString::fromUtf8("50% %E2%9C%93 \u00e9.Unicode")},
        {"CodePageOnly", QString::fromUtf8("\u30ed\u30b4 ?")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(SettingsPath());
        FErrors.clear();
        TForm1& form = Open();
        form.Edit1->setText(c.Text);
        form.Label1->Font().SetName(ToText(c.Text + QStringLiteral(" Sans")));
        const QString saved = FFolder.filePath(c.Text + QStringLiteral(".bmp"));
        SaveAs(form, saved);
        form.close();
        ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        EXPECT_EQ(Settings().contains("Unicode="), !CanEncodeShiftJis(ToText(c.Text))) << Settings().toStdString();

        TForm1& next = Open();
        EXPECT_EQ(next.Edit1->text(), c.Text);
        EXPECT_EQ(ToQString(next.Label1->Font().Name()), c.Text + QStringLiteral(" Sans"));
        EXPECT_EQ(next.SaveDlg->FileName(), saved);
        ExpectConsistent(next);
        FForm.reset();
        QFile::remove(saved);
    }
}

TEST_F(Form1SettingsTest, AValueEditedByHandAfterTheCompanionWins)
{
    TForm1& form = Open();
    form.Edit1->setText(QString::fromUtf8("Caf\u00e9"));
    form.close();
    FForm.reset();
    QByteArray bytes = Settings();
    ASSERT_TRUE(bytes.contains("TEXT=Caf?\r\n"));
    bytes.replace("TEXT=Caf?\r\n", "TEXT=Cafe au lait\r\n");
    WriteSettings(bytes);
    EXPECT_EQ(Open().Edit1->text(), QStringLiteral("Cafe au lait"));
}

TEST_F(Form1SettingsTest, AStyleNameTheCodePageCannotHoldIsRefusedBeforeAnythingChanges)
{
    TForm1& form = Open();
    AddStyle(form, QStringLiteral("Red"));
    const QByteArray before = Settings();
    ASSERT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
    form.Edit1->setText(QStringLiteral("Changed"));
    for (const QString& name : {QString::fromUtf8("Caf\u00e9"), QString::fromUtf8("\xF0\x9F\x98\x80 Red")}) {
        SCOPED_TRACE(name.toStdString());
        FErrors.clear();
        AddStyle(form, name);
        ASSERT_EQ(FErrors.size(), 1);
        const QString character = name.startsWith(u'C') ? QString::fromUtf8("\u00e9") : QString::fromUtf8("\xF0\x9F\x98\x80");
        EXPECT_TRUE(FErrors[0].contains(QString::fromUtf8("「%1」").arg(character))) << FErrors[0].toStdString();
        EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
        EXPECT_EQ(form.CbStyle->currentIndex(), 0) << "the selection stays";
        EXPECT_EQ(Settings(), before);
    }
}

// Installed (its data in ../share/vezodev), the program keeps each user's settings in
// the configuration folder and writes nothing into its prefix.
TEST_F(Form1SettingsTest, AnInstalledProgramKeepsItsSettingsInTheUsersConfigurationFolder)
{
    const QString prefix = FFolder.filePath(QStringLiteral("prefix"));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/vezodev")));
    const QString config = FFolder.filePath(QStringLiteral("home/config"));
    const TEnvironmentOverride xdg("XDG_CONFIG_HOME", QFile::encodeName(config).constData());
    const QStringList prefixBefore = Entries(prefix + QStringLiteral("/bin"));

    FForm = std::make_unique<TForm1>(nullptr, prefix + QStringLiteral("/bin/vezodev"));
    FForm->show();
    FForm->Edit1->setText(QStringLiteral("Installed"));
    FForm->close();
    FForm.reset();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QString settings = config + QStringLiteral("/vezodev/Vezodev.ini");
    EXPECT_TRUE(ReadAll(settings).contains("TEXT=Installed\r\n"));
    struct stat folder {};
    ASSERT_EQ(stat(QFile::encodeName(config + QStringLiteral("/vezodev")).constData(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u) << "the user's own folder";
    EXPECT_EQ(Entries(prefix + QStringLiteral("/bin")), prefixBefore);
    EXPECT_EQ(Entries(prefix + QStringLiteral("/share/vezodev")), QStringList());

    FForm = std::make_unique<TForm1>(nullptr, prefix + QStringLiteral("/bin/vezodev"));
    EXPECT_EQ(FForm->Edit1->text(), QStringLiteral("Installed"));
}

QByteArray TwentyStyles()
{
    QByteArray bytes = "[OPTION]\r\nTEXT=Twenty\r\n[STYLES]\r\nSTYLE.Count=20\r\n";
    for (int i = 0; i < 20; ++i)
        bytes += "STYLE." + QByteArray::number(i) + "=Style" + QByteArray::number(i) + "\r\n";
    for (int i = 0; i < 20; ++i)
        bytes += "[Style" + QByteArray::number(i) + "]\r\nTEXT=Style text " + QByteArray::number(i) + "\r\nMIXTYPE=2\r\n";
    return bytes;
}

TEST_F(Form1SettingsTest, TheCloseOfAWindowWithTwentyStylesReplacesTheFileOnce)
{
    constexpr int Rounds = 10;
    std::vector<qint64> nanoseconds;
    int replacements = 0;
    for (int round = 0; round < Rounds; ++round) {
        WriteSettings(TwentyStyles());
        TForm1& form = Open();
        ASSERT_EQ(form.CbStyle->count(), 20);
        form.Edit1->setText(QStringLiteral("Changed %1").arg(round));
        TReplacementCounter counter(FFolder.path());
        ASSERT_TRUE(counter.Watching());
        QElapsedTimer timer;
        timer.start();
        form.close();
        nanoseconds.push_back(timer.nsecsElapsed());
        replacements = counter.Count();
        EXPECT_EQ(replacements, 1);
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        FForm.reset();
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    std::cout << "[ MEASURE  ] close with 20 styles: " << replacements << " replacements, median "
              << nanoseconds[Rounds / 2] / 1000 << " us" << std::endl;
    TForm1& next = Open();
    EXPECT_EQ(next.Edit1->text(), QStringLiteral("Changed %1").arg(Rounds - 1));
}

} // namespace
