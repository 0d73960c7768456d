#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The language of the program's texts. The source texts are the classic ones: the
// window's in Japanese, the renderer's usage in English with the platform's Japanese
// messages. lgClassic shows them as they are.
enum TUiLanguage : unsigned char { lgClassic, lgJapanese, lgEnglish };

// The user's interface languages in order of preference, as Qt reads them on Unix:
// the entries of $LANGUAGE, else the messages locale ($LC_ALL, $LC_MESSAGES, $LANG,
// the first set). An unset or empty messages locale counts as "C".
std::vector<std::string> UiLanguagesOfEnvironment();

// The first of languages the program has: Japanese for "ja", English for "en", the
// classic texts for "C" and "POSIX"; English when none of them is one of these.
TUiLanguage ChooseUiLanguage(const std::vector<std::string>& languages);

// The catalogue name of a language ("ja", "en"), empty for the classic texts.
std::string UiLanguageName(TUiLanguage language);

// Chooses the language of the program's texts and reads its catalogue from
// localeFolder/<name>/LC_MESSAGES/vezodev.mo; without a catalogue the source texts
// are shown. Called once while the program starts, before any text is translated.
void SetUiLanguage(TUiLanguage language, const std::filesystem::path& localeFolder);
TUiLanguage CurrentUiLanguage();

// The folder of the program's catalogues: "locale" beside the program (a build
// folder), else its installed data folder "locale" (../share/locale from its folder);
// links in programFile (such as /proc/self/exe) are followed first.
std::filesystem::path LocaleFolderOf(const std::filesystem::path& programFile);

// The text to show for source (UTF-8): its translation in the current language, or
// source itself. The pointer stays valid for the process's life.
const char* Translate(const char* source);
// The same for a source text that has a context telling two uses of it apart.
const char* Translate(const char* context, const char* source);

// The same as text: the translation's UTF-16, for code that works in text.
std::u16string TrText(const char* source);
std::u16string TrText(const char* context, const char* source);

// Marks a source text for extraction where it is translated later, at its use; NC_
// marks one that is translated in a context.
#define N_(text) text
#define NC_(context, text) text
