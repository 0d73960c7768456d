#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RenderProcess.h"
#include "TestFiles.h"

#include <sys/stat.h>
#include <utime.h>

// The renderer's font lookups through its per-user cache, and batches rendered by
// several threads, each seen from outside as a user sees them.
namespace {

using TRun = TRenderRun;

TRun Render(const QStringList& arguments, const QProcessEnvironment& environment, const QString& folder = {})
{
    return RunRenderer(arguments, {environment, folder, {}});
}

// A home of its own: the cache under XDG_CACHE_HOME, user fonts under XDG_DATA_HOME.
class RenderFontCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Home.isValid());
        ASSERT_TRUE(QDir().mkpath(Home.filePath("data/fonts")));
        Environment.insert("XDG_CACHE_HOME", Home.filePath("cache"));
        Environment.insert("XDG_DATA_HOME", Home.filePath("data"));
        Environment.remove("FONTCONFIG_FILE");
    }

    QString CachePath() const { return Home.filePath("cache/vezodev/fonts.cache"); }

    // The logo every case draws: a Latin face with a Japanese fallback.
    QByteArray Logo(const QString& name, QString* errors = nullptr)
    {
        const TRun run = Render({"--font", "Times New Roman", "--text", QString::fromUtf8("Cache 日本"), "-o",
                                 Home.filePath(name)}, Environment);
        EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        if (errors)
            *errors = run.Err;
        return ReadAll(Home.filePath(name));
    }

    // Identity of the cache file: a rewrite puts a new file in its place.
    QString CacheIdentity() const
    {
        struct stat info;
        if (stat(CachePath().toLocal8Bit().constData(), &info) != 0)
            return QStringLiteral("none");
        return QStringLiteral("%1/%2.%3").arg(info.st_ino).arg(info.st_mtim.tv_sec).arg(info.st_mtim.tv_nsec);
    }

    QTemporaryDir Home;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(RenderFontCacheTest, AbsentCacheIsWrittenAndAFreshOneIsUsedAsItIs)
{
    const QByteArray reference = Logo("first.bmp");
    ASSERT_TRUE(QFileInfo::exists(CachePath()));
    const QString written = CacheIdentity();
    EXPECT_EQ(Logo("second.bmp"), reference);
    EXPECT_EQ(CacheIdentity(), written) << "a cache that is still right is not written again";
}

TEST_F(RenderFontCacheTest, ATouchedFontFolderMakesTheCacheStale)
{
    const QByteArray reference = Logo("first.bmp");
    const QString written = CacheIdentity();
    ASSERT_TRUE(ReadAll(CachePath()).contains(Home.filePath("data/fonts").toUtf8())) << "the user font folder is watched";
    const QByteArray folder = Home.filePath("data/fonts").toLocal8Bit();
    const utimbuf later{time(nullptr) + 100, time(nullptr) + 100};
    ASSERT_EQ(utime(folder.constData(), &later), 0);
    EXPECT_EQ(Logo("second.bmp"), reference);
    EXPECT_NE(CacheIdentity(), written) << "the stale cache is rebuilt";
}

TEST_F(RenderFontCacheTest, AnUnreadableOrUnwritableCacheIsNoError)
{
    const QByteArray reference = Logo("first.bmp");
    ASSERT_TRUE(QFile::remove(CachePath()));
    // A folder where the file should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir().mkpath(CachePath()));
    QString errors;
    EXPECT_EQ(Logo("second.bmp", &errors), reference);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    // Garbage in the file: fontconfig is asked and the file made right.
    ASSERT_TRUE(QDir(CachePath()).removeRecursively());
    WriteAll(CachePath(), QByteArray("\x00\xFF garbage\nstamp\tx\n", 19));
    EXPECT_EQ(Logo("third.bmp", &errors), reference);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    EXPECT_TRUE(ReadAll(CachePath()).startsWith("vezodev font cache"));
}

TEST_F(RenderFontCacheTest, AnAnswerWhoseFileHasGoneIsNotTrusted)
{
    const QByteArray reference = Logo("first.bmp");
    // Point the cached answer for Liberation Serif Bold at a copy, then delete the copy.
    const QByteArray cache = ReadAll(CachePath());
    const qsizetype at = cache.indexOf("LiberationSerif-Bold.ttf");
    ASSERT_GE(at, 0) << cache.toStdString();
    const qsizetype start = cache.lastIndexOf('\t', at) + 1;
    const QByteArray original = cache.mid(start, at + 24 - start);
    const QString copy = Home.filePath("copy.ttf");
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(original), copy));
    QByteArray pointed = cache;
    pointed.replace(original, copy.toUtf8());
    // Keep the cache's own time stamps valid: only the answer changes.
    WriteAll(CachePath(), pointed);
    EXPECT_EQ(Logo("through-copy.bmp"), reference);
    ASSERT_TRUE(QFile::remove(copy));
    EXPECT_EQ(Logo("after-delete.bmp"), reference);
    EXPECT_FALSE(ReadAll(CachePath()).contains(copy.toUtf8()));
}

TEST(RenderFontsTest, AMissingFamilyFallsBackAndIsNamedOnStandardError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const TRun missing = Render({"--font", "No Such Family 42", "--text", "Ab", "-o", folder.filePath("m.bmp")}, environment);
    EXPECT_EQ(missing.ExitCode, 0);
    EXPECT_EQ(missing.Err, "vezodev-render: font 'No Such Family 42' not found, using 'DejaVu Sans'\n");
    const TRun dejaVu = Render({"--font", "DejaVu Sans", "--text", "Ab", "-o", folder.filePath("d.bmp")}, environment);
    EXPECT_TRUE(dejaVu.Err.isEmpty()) << dejaVu.Err.toStdString();
    EXPECT_EQ(ReadAll(folder.filePath("m.bmp")), ReadAll(folder.filePath("d.bmp")));
    // A stand-in the program knows, or one fontconfig's aliases give, is no missing font.
    for (const char* name : {"Times New Roman", "Arial", "ＭＳ Ｐゴシック", "Symbol"}) {
        const TRun known = Render({"--font", QString::fromUtf8(name), "--print-size"}, environment);
        EXPECT_TRUE(known.Err.isEmpty()) << name << ": " << known.Err.toStdString();
    }
}

TEST(RenderFontsTest, ShapedTextPrintsTheSizeItDraws)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* text : {"مرحبا بالعالم", "שלום 123 abc", "नमस्ते दुनिया", "日本語 Latin عربي", "Cafe\xCC\x81",
                             "Party \xF0\x9F\x8E\x89"}) {
        SCOPED_TRACE(text);
        const QString path = folder.filePath("shaped.bmp");
        const TRun run = Render({"--font", "DejaVu Sans", "--font-height", "40", "--regular", "--hspace", "3", "--vspace", "2",
                                 "--text", QString::fromUtf8(text), "--layer", "text", "--bg", "0x00FFFFFF", "--print-size",
                                 "-o", path},
                                environment);
        EXPECT_EQ(run.ExitCode, 0);
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(run.Out, QStringLiteral("%1 x %2\n").arg(image.width()).arg(image.height()));
        // The ink lies between the margins: the width printed is the width drawn.
        int left = image.width();
        int right = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        EXPECT_GE(left, 3 - 2);
        EXPECT_LE(right, image.width() - 3 + 2);
        EXPECT_GT(right - left, image.width() - 2 * 3 - 16); // the side bearings at both ends
    }
}

// A Type 1 face, which HarfBuzz cannot read (fontconfig passes over the OpenType copies
// of the URW faces here): text that would be shaped, for a direction mark or a combining
// accent, is set character by character as text that needs no shaping is, in a cell
// about the em high.
TEST(RenderFontsTest, TextInAType1FaceIsSetCharacterByCharacter)
{
    QTemporaryDir home;
    WriteAll(home.filePath("fonts.conf"), "<fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>"
                                          "<glob>*.otf</glob></rejectfont></selectfont></fontconfig>");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", home.filePath("fonts.conf"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    QProcess match;
    match.setProcessEnvironment(environment);
    match.start("fc-match", {"--format=%{fontformat}", "Nimbus Roman"});
    if (!match.waitForFinished() || match.readAllStandardOutput() != "Type 1")
        GTEST_SKIP() << "Nimbus Roman has no Type 1 file here";
    const auto draw = [&](const char* text) {
        const QString path = home.filePath("logo.bmp");
        Render({"--font", "Nimbus Roman", "--font-height", "40", "--layer", "text", "--bg", "0x00FFFFFF", "--text",
                QString::fromUtf8(text), "-o", path}, environment);
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    };
    const QImage plain = draw("Cafe");
    ASSERT_FALSE(plain.isNull());
    EXPECT_LT(plain.height(), 2 * 40);
    EXPECT_TRUE(draw("Cafe\xE2\x80\x8E") == plain);
    EXPECT_TRUE(draw("\xE2\x80\x8F" "Cafe") == plain);
    // The accented text has the plain text's ink, and the accent beside it.
    const QImage accented = draw("Cafe\xCC\x81");
    ASSERT_GT(accented.width(), plain.width());
    EXPECT_TRUE(accented.copy(0, 0, plain.width(), plain.height()) == plain);
}

TEST(RenderFontsTest, ACharacterNoFontHasIsNamedOnceOnStandardError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // U+10FFFD and U+10FFFC are private-use characters no font gives a glyph.
    const QString box = QString::fromUtf8("\xF4\x8F\xBF\xBD");
    const QString other = QString::fromUtf8("\xF4\x8F\xBF\xBC");
    const TRun single = Render({"--text", "a" + box + "b" + box, "-o", folder.filePath("one.bmp")}, environment);
    EXPECT_EQ(single.ExitCode, 0);
    EXPECT_EQ(single.Err, "vezodev-render: no installed font has U+10FFFD\n");
    QByteArray lines;
    for (int i = 0; i < 6; ++i)
        lines += QStringLiteral("--text 'x%1' -o b%2.bmp\n").arg(i == 3 ? other + box : box).arg(i).toUtf8();
    WriteAll(folder.filePath("batch.txt"), lines);
    const TRun batch = Render({"--batch", "batch.txt", "--jobs", "3"}, environment, folder.path());
    EXPECT_EQ(batch.ExitCode, 0);
    EXPECT_EQ(batch.Err, "vezodev-render: no installed font has U+10FFFD\n"
                         "vezodev-render: no installed font has U+10FFFC\n");
    EXPECT_TRUE(ReadAll(folder.filePath("b5.bmp")).startsWith("BM"));
}

TEST(RenderJobsTest, ParallelBatchWritesAndPrintsWhatASequentialOneDoes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QByteArray lines;
    for (int i = 0; i < 24; ++i) {
        if (i == 11)
            lines += "--mix E -o bad.bmp\n";            // a bad argument in the middle
        if (i == 17)
            lines += "--font 'Missing Face Q' -o q.bmp\n"; // a note, not an error
        lines += QStringLiteral("--text 'Logo %1 ロゴ' --font-height %2 --print-size --direction %3 -o out%1.bmp\n")
                     .arg(i).arg(9 + 3 * i).arg(1 + i % 4).toUtf8();
    }
    lines += "-o missing-folder/x.bmp\n";
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QList<TRun> runs;
    QList<QList<QByteArray>> outputs;
    for (const char* jobs : {"1", "4"}) {
        const QString sub = folder.filePath(QString::fromLatin1(jobs));
        ASSERT_TRUE(QDir().mkpath(sub));
        WriteAll(sub + "/batch.txt", lines);
        runs.push_back(Render({"--batch", "batch.txt", "--jobs", jobs}, environment, sub));
        QList<QByteArray> files;
        for (int i = 0; i < 24; ++i)
            files.push_back(ReadAll(sub + QStringLiteral("/out%1.bmp").arg(i)));
        files.push_back(ReadAll(sub + "/q.bmp"));
        outputs.push_back(files);
    }
    EXPECT_EQ(runs[0].ExitCode, 2);
    EXPECT_EQ(runs[1].ExitCode, runs[0].ExitCode);
    EXPECT_EQ(runs[1].Out, runs[0].Out);
    EXPECT_EQ(runs[1].Err, runs[0].Err);
    EXPECT_TRUE(runs[0].Err.contains("batch.txt:12: --mix: 'E'")) << runs[0].Err.toStdString();
    EXPECT_LT(runs[0].Err.indexOf("batch.txt:12:"), runs[0].Err.indexOf("batch.txt:19: font 'Missing Face Q'"));
    EXPECT_EQ(runs[0].Out.count('\n'), 24);
    for (qsizetype i = 0; i < outputs[0].size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(outputs[0][i].startsWith("BM"));
        EXPECT_EQ(outputs[1][i], outputs[0][i]);
    }
}

// A batch longer than one group of lines between syncs: every logo reaches its name,
// the one a later line writes again holds that line's logo, and no temporary file is
// left behind.
TEST(RenderJobsTest, ABatchOfSeveralSyncGroupsLeavesEveryFileAndNoTemporaryOne)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    constexpr int Count = 600;
    QByteArray lines;
    for (int i = 0; i < Count; ++i)
        lines += QStringLiteral("--text 'L%1' --font-height 9 -o l%1.bmp\n").arg(i).toUtf8();
    lines += "--text 'again' --font-height 20 -o l7.bmp\n";
    WriteAll(folder.filePath("batch.txt"), lines);
    const TRun batch = Render({"--batch", "batch.txt", "--jobs", "2"}, QProcessEnvironment::systemEnvironment(),
                              folder.path());
    EXPECT_EQ(batch.ExitCode, 0) << batch.Err.toStdString();
    QStringList expected{"batch.txt"};
    for (int i = 0; i < Count; ++i)
        expected.push_back(QStringLiteral("l%1.bmp").arg(i));
    expected.sort();
    QStringList found = Entries(folder.path());
    found.sort();
    EXPECT_EQ(found, expected);
    const QImage again(folder.filePath("l7.bmp")), other(folder.filePath("l8.bmp"));
    EXPECT_GT(again.height(), other.height()) << "the later line's logo";
}

} // namespace
