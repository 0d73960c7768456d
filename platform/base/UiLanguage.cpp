#include "platform/base/UiLanguage.h"

#include "platform/base/InstalledData.h"
#include "platform/base/MessageCatalog.h"
#include "platform/base/UnicodeText.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string_view>

namespace {

TUiLanguage Current = lgClassic;
const TMessageCatalog* CurrentCatalog = nullptr;

// Each language's catalogue once read, kept for the process's life, so that a text
// handed out stays valid when the language changes.
const TMessageCatalog& CatalogOf(const std::string& path)
{
    static std::map<std::string, TMessageCatalog> catalogs;
    const auto [entry, added] = catalogs.try_emplace(path);
    if (added)
        entry->second.Load(path);
    return entry->second;
}

const char* Find(std::string_view source)
{
    return CurrentCatalog ? CurrentCatalog->Find(source) : nullptr;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "ja_JP.UTF-8@variant" -> "ja".
std::string_view LanguageCode(std::string_view locale)
{
    return locale.substr(0, locale.find_first_of("_.@-"));
}

} // namespace

std::vector<std::string> UiLanguagesOfEnvironment()
{
    std::string messages;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = Environment(name);
        if (!messages.empty())
            break;
    }
    std::vector<std::string> languages;
    const std::string list = Environment("LANGUAGE");
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            languages.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    if (languages.empty())
        languages.push_back(messages.empty() ? "C" : messages);
    return languages;
}

TUiLanguage ChooseUiLanguage(const std::vector<std::string>& languages)
{
    for (const std::string& locale : languages) {
        const std::string_view code = LanguageCode(locale);
        if (code == "ja")
            return lgJapanese;
        if (code == "en")
            return lgEnglish;
        if (code == "C" || code == "POSIX")
            return lgClassic;
    }
    return lgEnglish;
}

std::string UiLanguageName(TUiLanguage language)
{
    switch (language) {
    case lgJapanese:
        return "ja";
    case lgEnglish:
        return "en";
    case lgClassic:
        break;
    }
    return {};
}

void SetUiLanguage(TUiLanguage language, const std::filesystem::path& localeFolder)
{
    Current = language;
    const std::string name = UiLanguageName(language);
    CurrentCatalog = name.empty() ? nullptr : &CatalogOf(localeFolder.native() + "/" + name + "/LC_MESSAGES/vezodev.mo");
}

TUiLanguage CurrentUiLanguage()
{
    return Current;
}

std::filesystem::path LocaleFolderOf(const std::filesystem::path& programFile)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path program = fs::weakly_canonical(programFile, error);
    if (error)
        program = programFile;
    const fs::path beside = program.parent_path() / "locale";
    if (fs::is_directory(beside, error))
        return beside;
    return InstalledDataFolder(program, "locale");
}

const char* Translate(const char* source)
{
    const char* translation = Find(source);
    return translation ? translation : source;
}

const char* Translate(const char* context, const char* source)
{
    std::string key = context;
    key += '\x04';
    key += source;
    const char* translation = Find(key);
    return translation ? translation : source;
}

std::u16string TrText(const char* source)
{
    return Utf8ToText(Translate(source));
}

std::u16string TrText(const char* context, const char* source)
{
    return Utf8ToText(Translate(context, source));
}
