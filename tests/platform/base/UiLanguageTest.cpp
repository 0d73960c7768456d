#include "platform/base/MessageCatalog.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

#include "EnvironmentOverride.h"
#include "TestFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TEnvironmentCase {
    const char* Language; // $LANGUAGE
    const char* All;      // $LC_ALL
    const char* Messages; // $LC_MESSAGES
    const char* Lang;     // $LANG
    TUiLanguage Expected;
};


std::unique_ptr<TEnvironmentOverride> Set(const char* name, const char* value)
{
    return std::make_unique<TEnvironmentOverride>(name, value);
}

// Builds a catalogue with msgfmt, as the build does.
std::string Compile(const TTestFolder& folder, const std::string& po)
{
    const std::string source = folder.FilePath("test.po");
    const std::string compiled = folder.FilePath("test.mo");
    std::ofstream(source) << po;
    const std::string command = "msgfmt -o '" + compiled + "' '" + source + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return compiled;
}

const char* const SamplePo = R"(msgid ""
msgstr "Content-Type: text/plain; charset=UTF-8\n"

msgid "テキスト"
msgstr "Text"

msgctxt "colour cell"
msgid "色１"
msgstr "Col 1"

msgid "色１"
msgstr "Colour 1"

msgid "未訳"
msgstr ""
)";

} // namespace

TEST(UiLanguageTest, FollowsTheFirstInterfaceLanguageTheProgramHas)
{
    const TEnvironmentCase cases[] = {
        {nullptr, nullptr, nullptr, nullptr, lgClassic},
        {nullptr, nullptr, nullptr, "C", lgClassic},
        {nullptr, nullptr, nullptr, "C.UTF-8", lgClassic},
        {nullptr, "POSIX", nullptr, "ja_JP.UTF-8", lgClassic},
        {nullptr, nullptr, nullptr, "ja_JP.UTF-8", lgJapanese},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", lgEnglish},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8", lgEnglish},
        {nullptr, nullptr, "ja_JP.eucJP", "de_DE.UTF-8", lgJapanese},
        {nullptr, "en_GB.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", lgEnglish},
        {"de:ja:en", nullptr, nullptr, "en_US.UTF-8", lgJapanese},
        {"fr_FR:de_DE", nullptr, nullptr, "ja_JP.UTF-8", lgEnglish},
        {"", nullptr, nullptr, "ja_JP.UTF-8", lgJapanese},
        {"ja@variant", nullptr, nullptr, "C", lgJapanese},
        {"jam", nullptr, nullptr, "C", lgEnglish},
    };
    for (const TEnvironmentCase& c : cases) {
        SCOPED_TRACE(std::string("LANGUAGE=") + (c.Language ? c.Language : "-") + " LC_ALL=" + (c.All ? c.All : "-")
                     + " LC_MESSAGES=" + (c.Messages ? c.Messages : "-") + " LANG=" + (c.Lang ? c.Lang : "-"));
        const auto language = Set("LANGUAGE", c.Language);
        const auto all = Set("LC_ALL", c.All);
        const auto messages = Set("LC_MESSAGES", c.Messages);
        const auto lang = Set("LANG", c.Lang);
        EXPECT_EQ(ChooseUiLanguage(UiLanguagesOfEnvironment()), c.Expected);
    }
}

// A damaged catalogue is refused whole: every prefix of a good file, and the good file
// with each header word broken, loads as empty or finds only what the file holds.
TEST(UiLanguageTest, DamagedCatalogueIsRefusedWithoutReadingPastItsEnd)
{
    TTestFolder folder;
    const std::string good = Compile(folder, SamplePo);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string damaged = folder.FilePath("damaged.mo");
    std::vector<std::string> variants;
    for (std::size_t size = 0; size < bytes.size(); ++size)
        variants.push_back(bytes.substr(0, size));
    for (std::size_t word = 8; word < 28; word += 4) {
        std::string broken = bytes;
        broken[word + 3] = '\x7f';
        variants.push_back(broken);
    }
    for (const std::string& variant : variants) {
        SCOPED_TRACE(variant.size());
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << variant;
        TMessageCatalog catalog;
        if (catalog.Load(damaged))
            EXPECT_STREQ(catalog.Find("テキスト"), "Text");
        else
            EXPECT_TRUE(catalog.Empty());
    }
    TMessageCatalog missing;
    EXPECT_FALSE(missing.Load(folder.FilePath("none.mo")));
}

// A translation is found by its whole text and context; anything else, and every text in
// the classic language, stays as written.
TEST(UiLanguageTest, TextsAreTranslatedByTextAndContextAndTheRestStayAsWritten)
{
    TTestFolder folder;
    std::filesystem::create_directories(folder.FilePath("en/LC_MESSAGES"));
    std::filesystem::rename(Compile(folder, SamplePo), folder.FilePath("en/LC_MESSAGES/vezodev.mo"));
    const struct {
        const char* Context;
        const char* Text;
        std::u16string English;
    } cases[] = {
        {nullptr, "テキスト", u"Text"},
        {nullptr, "色１", u"Colour 1"},
        {"colour cell", "色１", u"Col 1"},
        {nullptr, "未訳", u"未訳"},
        {nullptr, "テキス", u"テキス"},
        {nullptr, "", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const auto translate = [&] { return c.Context ? TrText(c.Context, c.Text) : TrText(c.Text); };
        SetUiLanguage(lgEnglish, folder.Path());
        EXPECT_EQ(translate(), c.English);
        SetUiLanguage(lgClassic, folder.Path());
        EXPECT_EQ(translate(), Utf8ToText(c.Text));
    }
}

// The catalogues of a build folder lie beside the program; an installed program's in its
// data folder, reached through the links to the program.
TEST(UiLanguageTest, LocaleFolderIsBesideTheProgramOrItsInstalledDataFolder)
{
    TTestFolder folder;
    const std::filesystem::path root = std::filesystem::canonical(folder.Path());
    std::filesystem::create_directories(root / "build/locale");
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "links");
    WriteBytes(root / "usr/bin/vezodev", "");
    std::filesystem::create_symlink(root / "usr/bin/vezodev", root / "links/vezodev");
    EXPECT_EQ(LocaleFolderOf(root / "build/vezodev"), root / "build/locale");
    EXPECT_EQ(LocaleFolderOf(root / "usr/bin/vezodev"), root / "usr/share/locale");
    EXPECT_EQ(LocaleFolderOf(root / "links/vezodev"), root / "usr/share/locale");
}
