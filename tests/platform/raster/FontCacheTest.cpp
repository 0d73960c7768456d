#include "platform/raster/FontCache.h"
#include "platform/base/XdgFolders.h"

#include "EnvironmentOverride.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(FontCacheTest, AFormattedCacheParsesBackToWhatItHeld)
{
    TFontCache cache;
    cache.Environment = "\t\t\t/x/config\t\t/home/u";
    cache.Stamps = {{"/etc/fonts/fonts.conf", "1700000000.5"}, {"/home/u/.fonts", "-"}};
    cache.Answers["Times New Roman\t1\t0"] = TFontFile{"/usr/share/fonts/LiberationSerif-Bold.ttf", 0, u"Liberation Serif", true};
    cache.Answers["No Such Face\t0\t1"] = TFontFile{"/usr/share/fonts/DejaVuSans.ttf", 2, u"DejaVu Sans", false};
    const std::string text = cache.Format();
    EXPECT_EQ(text.substr(0, 21), "vezodev font cache 1\n");
    const std::optional<TFontCache> read = TFontCache::Parse(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Environment, cache.Environment);
    ASSERT_EQ(read->Stamps.size(), 2u);
    EXPECT_EQ(read->Stamps[1].Path, "/home/u/.fonts");
    EXPECT_EQ(read->Stamps[1].Time, "-");
    ASSERT_EQ(read->Answers.size(), 2u);
    const TFontFile& missing = read->Answers.at("No Such Face\t0\t1");
    EXPECT_EQ(missing.Path, "/usr/share/fonts/DejaVuSans.ttf");
    EXPECT_EQ(missing.Index, 2);
    EXPECT_EQ(missing.Family, u"DejaVu Sans");
    EXPECT_FALSE(missing.Found);
    EXPECT_TRUE(read->Answers.at("Times New Roman\t1\t0").Found);
}

// The locator's and the fallback's questions share one key, which the file holds as it
// is: a family in any script reads back under the key it was asked with.
TEST(FontCacheTest, AQuestionKeyReadsBackFromTheFile)
{
    TFontCache cache;
    cache.Stamps = {{"/etc/fonts/fonts.conf", "1.0"}};
    const std::string key = TFontCache::QuestionKey(u"ＭＳ Ｐゴシック", true, false);
    EXPECT_EQ(key, "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF\t1\t0");
    cache.Answers[key] = TFontFile{"/usr/share/fonts/ipagp.ttf", 0, u"IPAPGothic", true};
    const std::optional<TFontCache> read = TFontCache::Parse(cache.Format());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Answers.count(TFontCache::QuestionKey(u"ＭＳ Ｐゴシック", true, false)), 1u);
    EXPECT_EQ(read->Answers.at(key).Family, u"IPAPGothic");
}

TEST(FontCacheTest, AnyLineItDoesNotKnowMakesTheWholeTextUnreadable)
{
    const std::string good = "vezodev font cache 1\nenv\ta\nstamp\t1.0\t/p\nface\tF\t0\t0\t/f.ttf\t0\tF\t1\tend\n";
    ASSERT_TRUE(TFontCache::Parse(good));
    for (const std::string& bad : {std::string("vezodev font cache 2\nenv\ta\n"), std::string("vezodev font cache 1\nstamp\t1\t/p\n"),
                                   good + "face\tF\t0\t0\t/f.ttf\t0\tF\t1\n", good + "stamp\t1\n", good + "\n",
                                   std::string()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(TFontCache::Parse(bad));
    }
}

// One rule for every per-user folder: a relative setting is ignored, as the base
// directory rules say.
TEST(XdgFoldersTest, AnAbsoluteSettingIsTakenAndARelativeOneIgnored)
{
    const TEnvironmentOverride home("HOME", "/home/someone");
    struct TCase {
        const char* Variable;
        TXdgFolder Folder;
        const char* Default;
    };
    for (const TCase& c : {TCase{"XDG_CONFIG_HOME", xfConfig, "/home/someone/.config"},
                           TCase{"XDG_CACHE_HOME", xfCache, "/home/someone/.cache"},
                           TCase{"XDG_DATA_HOME", xfData, "/home/someone/.local/share"}}) {
        SCOPED_TRACE(c.Variable);
        {
            const TEnvironmentOverride set(c.Variable, "/elsewhere/dir//");
            EXPECT_EQ(XdgFolder(c.Folder).string(), "/elsewhere/dir");
        }
        {
            const TEnvironmentOverride set(c.Variable, "relative/dir");
            EXPECT_EQ(XdgFolder(c.Folder).string(), c.Default);
        }
        {
            const TEnvironmentOverride set(c.Variable, "");
            EXPECT_EQ(XdgFolder(c.Folder).string(), c.Default);
        }
    }
}

} // namespace
