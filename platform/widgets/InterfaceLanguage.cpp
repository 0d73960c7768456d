#include "platform/widgets/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The one translator of Qt's texts, replaced when the language changes.
QTranslator* QtTranslator = nullptr;

std::vector<std::string> QtUiLanguages()
{
    std::vector<std::string> languages;
    for (const QString& language : QLocale::system().uiLanguages())
        languages.push_back(language.toStdString());
    return languages;
}

// Qt's own formats (the file dialog's dates, its sizes) in the same language: the
// desktop's locale when it is of that language, else the language's own.
void SetDefaultLocale(TUiLanguage language)
{
    const QLocale system = QLocale::system();
    QLocale::Language wanted = system.language();
    if (language == lgEnglish)
        wanted = QLocale::English;
    else if (language == lgJapanese)
        wanted = QLocale::Japanese;
    QLocale::setDefault(system.language() == wanted ? system : QLocale(wanted));
}

} // namespace

TUiLanguage TInterfaceLanguage::Apply(const QString& programFile)
{
    return Apply(ChooseUiLanguage(QtUiLanguages()), programFile);
}

TUiLanguage TInterfaceLanguage::Apply(TUiLanguage language, const QString& programFile)
{
    SetUiLanguage(language, LocaleFolderOf(programFile.toStdString()));
    SetDefaultLocale(language);
    if (QtTranslator) {
        QCoreApplication::removeTranslator(QtTranslator);
        delete QtTranslator;
        QtTranslator = nullptr;
    }
    const QString name = QtTranslationName(language);
    if (!name.isEmpty()) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QStringLiteral("qtbase_") + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator);
            QtTranslator = translator;
        } else {
            delete translator;
        }
    }
    return language;
}

QString TInterfaceLanguage::QtTranslationName(TUiLanguage language)
{
    return language == lgEnglish ? QString() : QStringLiteral("ja");
}
