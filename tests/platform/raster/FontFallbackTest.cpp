#include "platform/raster/FontFallback.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The files fontconfig itself lists as holding the character.
QStringList FilesWith(char32_t code)
{
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":charset=%1").arg(unsigned(code), 0, 16), QStringLiteral("file")});
    if (!list.waitForFinished())
        return {};
    QStringList files;
    for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        files.push_back(line.trimmed().remove(QRegularExpression(QStringLiteral(":$"))));
    return files;
}

TEST(FontFallbackTest, TheFaceChosenHoldsTheCharacter)
{
    TFontFallback fallback;
    // Devanagari, Thai, an emoji, Hebrew, a CJK ideograph.
    for (const char32_t code : {U'\u0915', U'\u0E2A', U'\U0001F389', U'\u05E9', U'\u6F22'}) {
        SCOPED_TRACE(unsigned(code));
        const QStringList holders = FilesWith(code);
        const TFontFile file = fallback.FileFor(u"Times New Roman", false, false, code);
        if (holders.isEmpty()) {
            EXPECT_TRUE(file.Path.empty());
            continue;
        }
        EXPECT_TRUE(holders.contains(QString::fromStdString(file.Path))) << file.Path;
        EXPECT_FALSE(file.Family.empty());
        // Asked again, with another style, the answer comes from the same kept list.
        EXPECT_EQ(fallback.FileFor(u"Times New Roman", false, false, code).Path, file.Path);
        EXPECT_FALSE(fallback.FileFor(u"Times New Roman", true, true, code).Path.empty());
    }
}

TEST(FontFallbackTest, ACharacterNoFaceHoldsHasNoFace)
{
    TFontFallback fallback;
    ASSERT_TRUE(FilesWith(0x10FFFD).isEmpty());
    const TFontFile file = fallback.FileFor(u"DejaVu Sans", false, false, 0x10FFFD);
    EXPECT_TRUE(file.Path.empty());
    EXPECT_FALSE(file.Found);
}

} // namespace
