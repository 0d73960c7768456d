#include "platform/raster/FallbackChain.h"
#include "platform/raster/FontFile.h"
#include "platform/raster/FontLocator.h"
#include "platform/raster/SizedFontFile.h"
#include "platform/base/UnicodeText.h"

#include <gtest/gtest.h>

namespace {

// The chain of a face of the family at em 20, as the realised face makes it.
std::unique_ptr<TFallbackChain> ChainFor(const char* family)
{
    const std::u16string name = Utf8ToText(family);
    const TFontFile file = TFontLocator::Shared().Find(name, false, false);
    EXPECT_FALSE(file.Path.empty()) << family << " is not installed";
    auto own = std::make_shared<TSizedFontFile>(file, name, 0);
    own->SetEm(20);
    return std::make_unique<TFallbackChain>(std::move(own), file.Family, name, 0, 20);
}

TEST(FallbackChainTest, CharactersAreLookedForInTheOwnFileThenTheStandInsThenFontconfigsFallbacks)
{
    const auto chain = ChainFor("Times New Roman");
    ASSERT_EQ(chain->StandInEnd(), 3u); // Liberation Serif, then the Japanese UI face and DejaVu Sans
    const struct {
        const char* Name;
        char32_t Code;
        int Expected; // -2: a fallback after the stand-ins
    } cases[] = {
        {"a Latin letter", U'A', 0},
        {"katakana, from the Japanese UI face", U'ロ', 1},
        {"Devanagari, which neither stand-in has", U'न', -2},
        {"a character no installed face has", 0x10FFFD, -1},
        {"a control character", 0x01, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const int file = chain->FileFor(c.Code);
        if (c.Expected == -2) {
            EXPECT_GE(file, int(chain->StandInEnd()));
            EXPECT_EQ(chain->FallbackFileFor(c.Code), file);
        } else {
            EXPECT_EQ(file, c.Expected);
        }
        if (file >= 0) {
            EXPECT_NE(chain->File(std::size_t(file)).GlyphOf(c.Code), 0u);
        }
    }
}

// The Japanese UI face is named by its Windows family; a face that is its stand-in
// does not try itself twice.
TEST(FallbackChainTest, AFaceThatIsAStandInIsNotItsOwnStandIn)
{
    EXPECT_EQ(ChainFor("MS UI Gothic")->StandInEnd(), 2u);
    EXPECT_EQ(ChainFor("IPAPGothic")->StandInEnd(), 2u);
    EXPECT_EQ(ChainFor("DejaVu Sans")->StandInEnd(), 2u);
}

TEST(FallbackChainTest, AFallbackFileIsOpenedOnceForAllTheCharactersItDraws)
{
    const auto chain = ChainFor("DejaVu Sans");
    const int first = chain->FallbackFileFor(U'न');
    ASSERT_GE(first, int(chain->StandInEnd()));
    EXPECT_EQ(chain->FallbackFileFor(U'म'), first);
    EXPECT_EQ(chain->FileFor(U'स'), first);
    EXPECT_EQ(chain->FallbackFileFor(U'न'), first);
}

} // namespace
