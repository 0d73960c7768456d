#include "tools/BatchReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Paths and messages hold what a file name or a message may: quotes, backslashes,
// control characters, non-ASCII text; JSON needs the first three escaped and keeps the
// UTF-8 as it is.
TEST(BatchReportTest, StringsAreEscapedAsJsonNeeds)
{
    struct TCase {
        std::string Text;
        std::string Json;
    };
    const TCase cases[] = {
        {"logo.bmp", "\"logo.bmp\""},
        {"say \"hi\".png", "\"say \\\"hi\\\".png\""},
        {"C:\\logos\\a.bmp", "\"C:\\\\logos\\\\a.bmp\""},
        {"a\nb\tc\rd", "\"a\\nb\\tc\\rd\""},
        {std::string("x\x01y\x1f\x7f", 5), "\"x\\u0001y\\u001f\\u007f\""},
        {"ロゴ/é.png", "\"ロゴ/é.png\""},
        {"", "\"\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(TBatchReport::JsonString(c.Text), c.Json);
    }
}

TEST(BatchReportTest, ALineIsOneObjectWithItsOutcome)
{
    TReportEntry done;
    done.Line = 3;
    done.Path = "out/a.bmp";
    done.Width = 120;
    done.Height = 41;
    EXPECT_EQ(TBatchReport::JsonLine(done),
              "{\"line\": 3, \"path\": \"out/a.bmp\", \"width\": 120, \"height\": 41, \"ok\": true}\n");
    TReportEntry failed = done;
    failed.Error = "--mix: 'x' is not 1..4 or A..D";
    EXPECT_EQ(TBatchReport::JsonLine(failed),
              "{\"line\": 3, \"path\": \"out/a.bmp\", \"ok\": false, \"error\": \"--mix: 'x' is not 1..4 or A..D\"}\n");
    TReportEntry unparsed;
    unparsed.Line = 9;
    unparsed.Error = "a single quote is not closed";
    EXPECT_EQ(TBatchReport::JsonLine(unparsed),
              "{\"line\": 9, \"path\": null, \"ok\": false, \"error\": \"a single quote is not closed\"}\n");
}

// A report on a full disk fails, and says so on every later flush.
TEST(BatchReportTest, AFailedWriteIsKept)
{
    std::FILE* full = std::fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full";
    TBatchReport report(full);
    TReportEntry entry;
    entry.Line = 1;
    report.Add(entry);
    EXPECT_FALSE(report.Flush());
    EXPECT_NE(report.Error(), 0);
    EXPECT_FALSE(report.Flush());
    std::fclose(full);
}

} // namespace
