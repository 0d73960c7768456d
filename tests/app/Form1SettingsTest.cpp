#include "Form1TestSupport.h"
#include "TestFiles.h"

#include "components/IniGT.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <algorithm>
#include <iostream>
#include <sys/inotify.h>
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

class Form1SettingsTest : public Form1Fixture {};

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
