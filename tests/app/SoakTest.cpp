#include "Form1TestSupport.h"

#include "components/widgets/ManyBtn.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdint>
#include <iostream>
#include <random>

namespace {

// The resident set of this process in kilobytes, from /proc/self/status; -1 when it
// cannot be read.
long ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The seed is fixed so that a failure can be replayed; VEZODEV_SOAK_SEED replaces it.
std::uint32_t SoakSeed()
{
    bool ok = false;
    const std::uint32_t given = qEnvironmentVariable("VEZODEV_SOAK_SEED").toUInt(&ok);
    return ok ? given : 20260611u;
}

class SoakTest : public Form1Fixture {
protected:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    template <typename T, std::size_t N> const T& Pick(const T (&items)[N]) { return items[Uniform(0, int(N) - 1)]; }

    // Short texts, so that every step builds a small logo. Most characters fit the
    // settings file; the emoji does not, and storing it must give the known error.
    QString RandomText()
    {
        static const char* const pieces[] = {"V", "e", "zo", "dev", " ", "Logo", "ロゴ", "ゾ", "i", "W", "1", "-", "\xF0\x9F\x98\x80", "\xEF\xBD\xB1"};
        QString text;
        const int count = Uniform(0, 5);
        for (int i = 0; i < count; ++i)
            text += QString::fromUtf8(Pick(pieces));
        return text;
    }

    QString RandomMargin()
    {
        static const char* const odd[] = {"", "-", "1e3", "99999999999", "$1F", " 5", "abc"};
        return Chance(80) ? QString::number(Uniform(-5, 110)) : QString::fromLatin1(Pick(odd));
    }

    TColor RandomColor() { return static_cast<TColor>(Uniform(0, 0xFFFFFF)); }

    void Step(TForm1& form)
    {
        static const char* const faces[] = {"Times New Roman", "Arial", "ＭＳ Ｐゴシック", "Courier New", "DejaVu Sans", "No Such Face"};
        static const char* const styles[] = {"Red", "blue", "BLUE", "Gr]een", "a=b", ";c", "  Spaced", "ロゴ", ""};
        const Qt::MouseButton mouse = Chance(80) ? Qt::LeftButton : Qt::RightButton;
        switch (Uniform(0, 11)) {
        case 0:
        case 1:
            form.Edit1->setText(RandomText());
            QTest::keyClick(form.Edit1, Qt::Key_Return);
            break;
        case 2:
        case 3: {
            TSpinEdit* field = Chance(50) ? form.EdHs : form.EdVs;
            field->SetText(RandomMargin());
            if (Chance(30)) {
                QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
                QCoreApplication::sendEvent(field->Editor(), &leave);
            }
            break;
        }
        case 4:
            ClickCell(*form.MbMix, Uniform(1, 4), mouse);
            break;
        case 5:
            ClickCell(*form.MbGra, Uniform(1, 4), mouse);
            break;
        case 6: {
            const TColor color = RandomColor();
            const bool ok = Chance(80);
            TColorDialog::Answerer = [color, ok](TColorDialog& dialog) {
                dialog.SetColor(color);
                return ok;
            };
            if (Chance(34))
                ClickCell(*form.MbText, 2, mouse);
            else
                ClickCell(*form.MbColor, Uniform(1, 2), mouse);
            break;
        }
        case 7: {
            const QString face = QString::fromUtf8(Pick(faces));
            const int pixels = Uniform(6, 40);
            const TFontStyles style = static_cast<TFontStyles>(Uniform(0, 15));
            const TColor color = RandomColor();
            const bool ok = Chance(80);
            TFontDialog::Answerer = [=](TFontDialog& dialog) {
                dialog.Font().SetName(ToText(face));
                dialog.Font().SetHeight(-pixels);
                dialog.Font().SetStyle(style);
                dialog.Font().SetColor(color);
                return ok;
            };
            ClickCell(*form.MbText, 1, mouse);
            break;
        }
        case 8: {
            const QString name = QString::fromUtf8(Pick(styles));
            const bool ok = Chance(90);
            MessageAnswerer = [name, ok](TMessageRequest& request) {
                request.EditText = name;
                return ok;
            };
            form.MmAdd->trigger();
            break;
        }
        case 9: {
            if (form.StyleItems().Count() > 0 && Chance(50))
                form.CbStyle->setCurrentIndex(Uniform(0, form.StyleItems().Count() - 1));
            const bool ok = Chance(80);
            MessageAnswerer = [ok](TMessageRequest&) { return ok; };
            form.MmDel->trigger();
            break;
        }
        case 10:
        case 11:
            if (form.StyleItems().Count() > 0)
                Choose(form, Uniform(0, form.StyleItems().Count() - 1));
            break;
        }
    }

    std::mt19937 FRandom;
};

// Random changes of every parameter the window offers, on one window: no crash, every
// error one the window is meant to give, the logo consistent with the composer every
// hundred steps and the memory flat. Ten thousand changes; a quarter of them under
// AddressSanitizer, which runs them five times slower and checks each access instead
// of the memory.
TEST_F(SoakTest, RandomChangesKeepTheWindowConsistentAndItsMemoryFlat)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr int Steps = 2500;
#else
    constexpr int Steps = 10000;
#endif
    const std::uint32_t seed = SoakSeed();
    std::cout << "[   SEED   ] " << seed << " (set VEZODEV_SOAK_SEED to replay another)" << std::endl;
    FRandom.seed(seed);
    // Random input causes no error: the settings file holds any text.

    TForm1& form = Open();
    QElapsedTimer timer;
    timer.start();
    long rssAtThousand = -1;
    for (int step = 1; step <= Steps; ++step) {
        Step(form);
        if (step % 10 == 0)
            QCoreApplication::processEvents();
        ASSERT_TRUE(FErrors.isEmpty()) << "step " << step << ": " << FErrors.join('\n').toStdString();
        if (step % 100 == 0) {
            SCOPED_TRACE(testing::Message() << "step " << step << ", seed " << seed);
            ExpectConsistent(form);
            if (HasFailure())
                break;
        }
        if (step == 1000)
            rssAtThousand = ResidentKilobytes();
    }
    const long rssAtEnd = ResidentKilobytes();
    const qint64 elapsed = timer.elapsed();
    std::cout << "[ MEASURED ] " << Steps << " steps in " << elapsed << " ms; VmRSS " << rssAtThousand << " kB at step 1000, " << rssAtEnd << " kB at the end" << std::endl;
    ASSERT_GT(rssAtThousand, 0);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks back, so its resident size says nothing about
    // leaks; its leak checker at exit does.
    (void)rssAtThousand;
    (void)rssAtEnd;
#else
    EXPECT_LT(rssAtEnd - rssAtThousand, 50L * 1024) << "the memory grows";
#endif
}

} // namespace
