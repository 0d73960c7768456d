#include "tools/ShellWords.h"

#include "platform/base/UnicodeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ShellWordsTest, SplitsAsAShellSplitsWithoutExpansions)
{
    const struct {
        const char* Line;
        std::vector<std::u16string> Words;
    } cases[] = {
        {"", {}},
        {"  -o  a.bmp\t", {u"-o", u"a.bmp"}},
        {"--text 'two words'", {u"--text", u"two words"}},
        {"--text \"say \\\"hi\\\" \\$5 \\x\"", {u"--text", u"say \"hi\" $5 \\x"}},
        {"a\\ b c", {u"a b", u"c"}},
        {"'it'\\''s'", {u"it's"}},
        {"''", {u""}},
        {"x\"y\"'z'", {u"xyz"}},
        {"'$HOME' \"*\"", {u"$HOME", u"*"}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SplitShellWords(Utf8ToText(c.Line)) == c.Words) << c.Line;
}

TEST(ShellWordsTest, RefusesLinesThatCannotBeSplit)
{
    for (const char* line : {"'open", "\"open", "end\\", "a \"b\\\""})
        EXPECT_THROW(SplitShellWords(Utf8ToText(line)), EShellWordsError) << line;
}

} // namespace
