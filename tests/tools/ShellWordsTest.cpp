#include "tools/ShellWords.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellWordsTest, SplitsAsAShellSplitsWithoutExpansions)
{
    const struct {
        const char* Line;
        QStringList Words;
    } cases[] = {
        {"", {}},
        {"  -o  a.bmp\t", {"-o", "a.bmp"}},
        {"--text 'two words'", {"--text", "two words"}},
        {"--text \"say \\\"hi\\\" \\$5 \\x\"", {"--text", "say \"hi\" $5 \\x"}},
        {"a\\ b c", {"a b", "c"}},
        {"'it'\\''s'", {"it's"}},
        {"''", {""}},
        {"x\"y\"'z'", {"xyz"}},
        {"'$HOME' \"*\"", {"$HOME", "*"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitShellWords(QString::fromUtf8(c.Line)), c.Words) << c.Line;
}

TEST(ShellWordsTest, RefusesLinesThatCannotBeSplit)
{
    for (const char* line : {"'open", "\"open", "end\\", "a \"b\\\""})
        EXPECT_THROW(SplitShellWords(QString::fromUtf8(line)), EShellWordsError) << line;
}

} // namespace
