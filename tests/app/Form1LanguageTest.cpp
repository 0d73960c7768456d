#include "Form1TestSupport.h"

#include "app/EffectsDialog.h"
#include "app/LogoSaver.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/InterfaceLanguage.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SaveDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

// The window in each language, each in a process of its own started with that locale,
// as a user starts it: the parent runs this binary again with only the child test.

namespace {

const char* const ChildVariable = "VZ_LANGUAGE_TEXTS";

QString Plain(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// Each visible text of widget and its children, tagged by where it is shown.
void Collect(const QWidget& root, const QString& tag, QStringList& texts)
{
    QList<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<QWidget*>())
        widgets << child;
    for (const QWidget* widget : widgets) {
        const auto add = [&](const QString& text) {
            if (!text.trimmed().isEmpty())
                texts << tag + QLatin1Char('\t') + text;
        };
        add(widget->isWindow() ? widget->windowTitle() : QString());
        add(widget->toolTip());
        add(widget->accessibleName());
        add(widget->accessibleDescription());
        if (auto* button = qobject_cast<const QAbstractButton*>(widget))
            add(button->text());
        if (auto* group = qobject_cast<const QGroupBox*>(widget))
            add(group->title());
        if (auto* label = qobject_cast<const QLabel*>(widget))
            add(label->text());
        if (auto* label = qobject_cast<const TLabel*>(widget))
            add(label->Caption());
        if (auto* cells = qobject_cast<const TManyBtn*>(widget); cells && cells->Font().Name() != u"Symbol")
            for (int cell = 1; cell <= cells->Cells(); ++cell)
                add(ToQString(cells->Captions().Get(cell - 1)));
        if (auto* combo = qobject_cast<const QComboBox*>(widget); combo && !combo->isEditable())
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        for (const QAction* action : widget->actions())
            add(action->text());
    }
}

// Opens a modal dialog through open, collects its texts once it shows and closes it.
void CollectModal(const QString& tag, QStringList& texts, const std::function<void()>& open)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            Collect(*dialog, tag, texts);
            seen = true;
            dialog->close();
        }
    });
    poll.start(10);
    open();
    EXPECT_TRUE(seen) << tag.toStdString();
}

// A text wider than the control that shows it is cut: captions must fit, never the
// layout be changed for them.
void ExpectNothingCut(const QWidget& root)
{
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root))
            continue;
        const QFontMetrics metrics(widget->font());
        const std::string where = widget->objectName().toStdString();
        if (auto* button = qobject_cast<const QAbstractButton*>(widget); button && !button->text().isEmpty()) {
            // The Windows style's 2-pixel frame on each side, and 4 pixels between icon and text.
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            EXPECT_LE(metrics.horizontalAdvance(Plain(button->text())) + icon + 4, button->width()) << where;
        }
        if (auto* group = qobject_cast<const QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(group->title()) + 16, group->width()) << where;
        }
        if (qobject_cast<const TLabel*>(widget)) {
            for (const QWidget* sibling : widget->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (sibling != widget && sibling->isVisibleTo(&root)) {
                    EXPECT_FALSE(sibling->geometry().intersects(widget->geometry()))
                        << where << " overlaps " << sibling->objectName().toStdString();
                }
            }
        }
        if (auto* cells = qobject_cast<const TManyBtn*>(widget)) {
            for (int cell = 1; cell <= cells->Cells(); ++cell) {
                const TRect rect = const_cast<TManyBtn*>(cells)->CellRect(cell);
                EXPECT_LE(const_cast<TManyBtn*>(cells)->Canvas().TextWidth(cells->Captions().Get(cell - 1)) + 4,
                          rect.Right - rect.Left)
                    << where << " cell " << cell;
            }
        }
    }
}

bool HasJapanese(const std::string& text)
{
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return QString::fromStdString(text).contains(japanese);
}

using TTexts = std::map<std::string, std::vector<std::string>>;

TTexts ByTag(const QStringList& lines)
{
    TTexts tags;
    for (const QString& line : lines)
        tags[line.section(QLatin1Char('\t'), 0, 0).toStdString()].push_back(line.section(QLatin1Char('\t'), 1).toStdString());
    return tags;
}

class Form1LanguageChild : public Form1Fixture {};

} // namespace

// Runs only as the child of the test below, in the locale that test gives it.
TEST_F(Form1LanguageChild, WritesEveryTextItShows)
{
    const QString output = qEnvironmentVariable(ChildVariable);
    if (output.isEmpty())
        GTEST_SKIP() << "runs as the child of Form1LanguageTest";
    TInterfaceLanguage::Apply(QStringLiteral(VEZODEV_BIN_FOLDER "/vezodev"));
    TForm1& form = Open();
    QStringList texts;
    Collect(form, QStringLiteral("window"), texts);
    for (QMenu* menu : form.findChildren<QMenu*>())
        Collect(*menu, QStringLiteral("window"), texts);
    ExpectNothingCut(form);

    TEffectsDialog::Answerer = [&](TEffectsDialog& dialog) {
        dialog.show();
        Collect(dialog, QStringLiteral("ours"), texts);
        ExpectNothingCut(dialog);
        return false;
    };
    form.MmEffects->trigger();
    TEffectsDialog::Answerer = nullptr;
    CollectModal(QStringLiteral("qt"), texts, [&] { TColorDialog().Execute(&form); });
    CollectModal(QStringLiteral("ours"), texts, [&] { TFontDialog().Execute(&form); });
    CollectModal(QStringLiteral("qt"), texts, [&] {
        TSaveDialog dialog;
        dialog.SetFilter(TLogoSaver::Filter());
        dialog.Execute(&form);
    });
    CollectModal(QStringLiteral("ours"), texts, [&] { WarningOkCancel(&form, QStringLiteral("Vezodev"), QStringLiteral("?")); });
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(texts.join(QLatin1Char('\n')).toUtf8());
}

// The window in English, German, Japanese and the C locale: English and German show the
// same English texts with no Japanese character, Qt's dialogs included; Japanese and C
// show the same Japanese texts, Qt's dialogs in Japanese too.
TEST(Form1LanguageTest, WindowAndDialogsSpeakOneLanguageChosenByTheLocale)
{
    std::map<std::string, TTexts> shown;
    for (const char* locale : {"en_US.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        QTemporaryDir folder;
        const QString output = folder.filePath(QStringLiteral("texts"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
        environment.insert(QString::fromLatin1(ChildVariable), output);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Form1LanguageChild.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        shown[locale] = ByTag(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')));
    }
    const TTexts& english = shown["en_US.UTF-8"];
    EXPECT_EQ(english, shown["de_DE.UTF-8"]);
    EXPECT_EQ(shown["ja_JP.UTF-8"], shown["C"]);
    for (const auto& [tag, texts] : english)
        for (const std::string& text : texts)
            EXPECT_FALSE(HasJapanese(text)) << tag << ": " << text;
    for (const auto& [tag, texts] : shown["ja_JP.UTF-8"])
        EXPECT_TRUE(std::any_of(texts.cbegin(), texts.cend(), HasJapanese)) << tag;
    // Qt's own labels follow too: the colour dialog's are Qt's English only in English.
    const auto qtLabel = [&](const char* locale) {
        const std::vector<std::string>& texts = shown[locale]["qt"];
        return std::count(texts.cbegin(), texts.cend(), "&Basic colors");
    };
    EXPECT_EQ(qtLabel("en_US.UTF-8"), 1);
    EXPECT_EQ(qtLabel("ja_JP.UTF-8"), 0);
}
