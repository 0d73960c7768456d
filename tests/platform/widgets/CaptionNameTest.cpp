#include "platform/widgets/CaptionName.h"

#include <gtest/gtest.h>

namespace {

TEST(CaptionNameTest, MnemonicMarkersAndTrailingColonsAreLeftOut)
{
    struct Case { const char* Caption; const char* Name; };
    const Case cases[] = {
        {"文字間隔(&S)", "文字間隔"},
        {"文字間隔(S)", "文字間隔"},
        {"影の横のずれ(&X)", "影の横のずれ"},
        {"名前を付けて保存(&A)…", "名前を付けて保存…"},
        {"縁取りの色（&O）", "縁取りの色"},
        {"Save &as (&A):", "Save as"},
        {"&File", "File"},
        {"E&xit", "Exit"},
        {"Black && white", "Black & white"},
        {"フォント名:", "フォント名"},
        {"色：", "色"},
        {"A 黒地にグラデーション文字", "A 黒地にグラデーション文字"},
        {"横", "横"},
        {"&", ""},
        {"", ""},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.Caption);
        EXPECT_EQ(CaptionName(QString::fromUtf8(entry.Caption)).toStdString(), entry.Name);
    }
}

} // namespace
