#include "composer/LogoComposer.h"
#include "platform/base/AtomicFile.h"
#include "platform/raster/FontFace.h"
#include "platform/base/ShiftJis.h"
#include "platform/base/UnicodeText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

#include "LeftRightLogo.h"
#include "RenderProcess.h"
#include "TestFiles.h"

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

namespace {

using TRun = TRenderRun;

// A start whose writes beyond the limit fail (SIGXFSZ is ignored so that the write
// reports the error instead of killing the renderer).
TRenderStart WithFileSizeLimit(rlim_t bytes)
{
    TRenderStart start;
    start.ChildSetup = [bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    return start;
}

TLogoParams DefaultLogo()
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Vezodev";
    return params;
}

// The bitmap's pixels as an image, to compare with what an image reader gives.
QImage ImageOf(const TBitmap& bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::copy_n(bitmap.ScanLine(y), bitmap.Width(), reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

QImage ComposedLayer(const TLogoParams& params, const QString& layer)
{
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    if (layer == QLatin1String("text"))
        return ImageOf(layers.Text);
    if (layer == QLatin1String("gradient"))
        return ImageOf(layers.Gradient);
    return ImageOf(layers.Composite);
}

// Whether text holds a character of Japanese writing: kana, ideographs, the
// ideographic punctuation or a full-width form.
bool HasJapanese(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar ch) {
        const char16_t c = ch.unicode();
        return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
    });
}

// The columns a terminal gives line: East Asian wide and full-width characters take two.
int TerminalColumns(const QString& line)
{
    int columns = 0;
    for (const QChar ch : line) {
        const char16_t c = ch.unicode();
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
                          || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
                          || (c >= 0xFFE0 && c <= 0xFFE6);
        columns += wide ? 2 : 1;
    }
    return columns;
}

TEST(RenderToolTest, ExitStatusTellsSuccessFailureAndBadArguments)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct TCase {
        QStringList Arguments;
        int ExitCode;
        QString Named; // what the one-line error must mention
    };
    const QString missing = folder.filePath("missing/x.bmp");
    const QString noSuchFile = " (" + QString::fromStdU16String(SystemErrorText(ENOENT)) + ")";
    const QString missingIni = folder.filePath("none.ini");
    const QString missingBatch = folder.filePath("none.txt");
    for (const TCase& c : {TCase{{"--print-size"}, 0, {}},
                           TCase{{"--help"}, 0, {}},
                           TCase{{"-o", folder.filePath("ok.bmp")}, 0, {}},
                           TCase{{}, 2, "-o"},
                           TCase{{"--mix", "E", "-o", folder.filePath("x.bmp")}, 2, "--mix"},
                           TCase{{"--smooth", "9", "-o", folder.filePath("x.bmp")}, 2, "--smooth"},
                           TCase{{"-o", folder.filePath("x.bmp"), "--smooth", "1"}, 2, "--smooth"},
                           TCase{{"--font-height", "-5", "--print-size"}, 2, "'-5'"},
                           TCase{{"--print-size", "-o", folder.filePath("x.gif")}, 2, "x.gif"},
                           TCase{{"-o", missing}, 1, missing + QString::fromUtf8(" を作成できません") + noSuchFile},
                           TCase{{"--ini", missingIni, "--print-size"}, 2, missingIni + "'" + noSuchFile},
                           TCase{{"--ini", folder.path(), "--print-size"}, 2, folder.path() + "' (" + QString::fromStdU16String(SystemErrorText(EISDIR)) + ")"},
                           TCase{{"--batch", missingBatch}, 2, missingBatch + "'" + noSuchFile},
                           TCase{{"--bg", "blurple", "--print-size"}, 2, "'blurple'"},
                           TCase{{"--transparent", "-o", folder.filePath("t.bmp")}, 2, "--transparent"},
                           TCase{{"--text", "", "-o", folder.filePath("empty.bmp")}, 1, "empty"},
                           TCase{{"--font-height", "30000", "--text", "WWW", "-o", folder.filePath("huge.bmp")}, 1, " x "}}) {
        SCOPED_TRACE(c.Arguments.join(u' ').toStdString());
        const TRun run = RunRenderer(c.Arguments);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Err.toStdString();
        if (c.ExitCode == 0) {
            EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
        } else {
            EXPECT_TRUE(run.Err.startsWith(QLatin1String("vezodev-render: "))) << run.Err.toStdString();
            EXPECT_EQ(run.Err.count(u'\n'), 1) << run.Err.toStdString();
            EXPECT_TRUE(run.Err.contains(c.Named)) << run.Err.toStdString();
        }
    }
    // Only the successful run left a file; the failed ones created nothing, not even
    // the missing folder.
    EXPECT_EQ(Entries(folder.path()), QStringList{QStringLiteral("ok.bmp")});
}

TEST(RenderToolTest, BothProgramsAnswerVersion)
{
    for (const char* program : {VEZODEV_RENDER, VEZODEV_BIN}) {
        SCOPED_TRACE(program);
        QProcess process;
        process.start(QString::fromUtf8(program), {"--version"});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardOutput(), "vezodev " VEZODEV_VERSION "\n");
        EXPECT_TRUE(process.readAllStandardError().isEmpty());
    }
}

// The renderer starts without Qt and ICU: neither is among the libraries it loads.
TEST(RenderToolTest, TheRendererLoadsNeitherQtNorIcu)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(VEZODEV_RENDER)});
    ASSERT_TRUE(ldd.waitForFinished(60000));
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    ASSERT_TRUE(libraries.contains(QStringLiteral("libc.so"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QStringLiteral("libQt"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QStringLiteral("libicu"))) << libraries.toStdString();
}

TEST(RenderToolTest, StandardOutputThroughAPipeEqualsTheFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QStringList logo = {"--text", "Pipe", "--bg", "white", "--top", "#f00", "--last", "navy", "--mix", "B"};
    struct TCase {
        const char* Format;
        bool Transparent;
    };
    for (const TCase& c : {TCase{"bmp", false}, TCase{"png", false}, TCase{"png", true}}) {
        SCOPED_TRACE(std::string(c.Format) + (c.Transparent ? " transparent" : ""));
        const QStringList extra = c.Transparent ? QStringList{"--transparent"} : QStringList{};
        const QString path = folder.filePath(QStringLiteral("logo%1.%2").arg(c.Transparent).arg(QLatin1String(c.Format)));
        const TRun file = RunRenderer(logo + extra + QStringList{"-o", path});
        ASSERT_EQ(file.ExitCode, 0) << file.Err.toStdString();
        const TRun piped = RunRenderer(logo + extra + QStringList{"-o", "-", "--format", c.Format});
        ASSERT_EQ(piped.ExitCode, 0) << piped.Err.toStdString();
        EXPECT_TRUE(piped.Err.isEmpty());
        EXPECT_EQ(piped.OutBytes, ReadAll(path));
    }
}

TEST(RenderToolTest, TransparentPngClearsWhereTheTextLayerShowsTheBackground)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TLogoParams params = DefaultLogo();
    params.BgColor = 0x00F0E0D0;
    params.MixType = mtSrcErase;
    params.HSpace = 3;
    const QString path = folder.filePath("clear.png");
    const TRun run = RunRenderer({"--bg", "#D0E0F0", "--mix", "A", "--hspace", "3", "--transparent", "-o", path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QImage written(path);
    const QImage text = ComposedLayer(params, "text");
    const QImage composite = ComposedLayer(params, "composite");
    ASSERT_EQ(written.size(), composite.size());
    ASSERT_TRUE(written.hasAlphaChannel());
    int clear = 0;
    for (int y = 0; y < written.height(); ++y)
        for (int x = 0; x < written.width(); ++x) {
            const bool background = text.pixel(x, y) == 0xFFD0E0F0;
            clear += background;
            ASSERT_EQ(qAlpha(written.pixel(x, y)), background ? 0 : 255) << x << "," << y;
            if (!background) {
                ASSERT_EQ(written.pixel(x, y), composite.pixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(clear, written.width() * written.height() / 2);
}

TEST(RenderToolTest, StandardOutputThatIsATerminalIsRefused)
{
    // script(1) gives the renderer a pseudo-terminal as its standard output.
    QProcess process;
    process.start(QStringLiteral("script"), {"-qec", QStringLiteral("'%1' -o -").arg(QStringLiteral(VEZODEV_RENDER)), "/dev/null"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString seen = QString::fromUtf8(process.readAllStandardOutput()).remove(u'\r').trimmed();
    EXPECT_TRUE(seen.startsWith(QLatin1String("vezodev-render: -o -:"))) << seen.toStdString();
    EXPECT_TRUE(seen.contains(QLatin1String("terminal"))) << seen.toStdString();
    EXPECT_FALSE(seen.contains(u'\n')) << "one line, and no image bytes";
}

TEST(RenderToolTest, PrintSizeGivesTheComposersSize)
{
    EXPECT_EQ(RunRenderer({"--print-size"}).Out, QStringLiteral("106 x 32\n"));

    // UTF-8 text on the command line, margins and a font height all reach the composer.
    TLogoParams params = DefaultLogo();
    params.Text = u"ロゴ Ünïcode";
    params.Font.SetHeight(-40);
    params.HSpace = 7;
    params.VSpace = 3;
    const TSize size = TLogoComposer::LogoSize(params);
    const TRun run = RunRenderer({"--text", QString::fromStdU16String(params.Text), "--font-height", "40", "--hspace", "7", "--vspace", "3", "--print-size"});
    EXPECT_EQ(run.Out, QStringLiteral("%1 x %2\n").arg(size.Width).arg(size.Height));
}

// 262,144 W of 16,384 pixels are 2^32 pixels wide: the size is printed whole and the
// logo refused with it (in a batch line: no command line holds the text).
TEST(RenderToolTest, PrintSizeAndTheRefusalGiveTheTrueSizeOfATextWiderThanAnIntHolds)
{
    QTemporaryDir folder;
    TLogoParams params = DefaultLogo();
    params.Text.assign(262144, u'W');
    params.Font.SetHeight(-16384);
    const auto face = TFontFace::For(params.Font);
    const QString size = QStringLiteral("%1 x %2").arg(params.Text.size() * face->Advances(u"W").front() + 20LL).arg(face->Height());
    const QString logo = QStringLiteral("--text %1 --font-height 16384 --hspace 10").arg(params.Text);
    WriteAll(folder.filePath("wide.txt"), (logo + " --print-size\n" + logo + " -o wide.bmp\n").toUtf8());
    const TRun run = RunRenderer({"--batch", "wide.txt"}, {QProcessEnvironment::systemEnvironment(), folder.path(), {}});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out.toStdString(), (size + "\n").toStdString());
    EXPECT_EQ(run.Err.toStdString(), QString::fromUtf8("vezodev-render: wide.txt:2: ロゴが大きすぎます (%1)\n").arg(size).toStdString());
}

TEST(RenderToolTest, WrittenImageHasTheComposersPixels)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TLogoParams params = LeftRightLogo(u"Gradient, Qj!", 0x00F0E0D0, 0x00FF0000, 0x000080FF, mtSrcInvert);
    params.Font.SetStyle(fsBold | fsItalic | fsUnderline);
    params.Font.SetColor(0x00203040);
    params.HSpace = 5;
    params.VSpace = 2;
    const QStringList logoArguments = {"--text", QString::fromStdU16String(params.Text), "--italic", "--underline", "--font-color", "0x203040",
                                       "--bg", "#D0E0F0", "--top", "0xFF0000", "--last", "#FF8000",
                                       "--direction", "2", "--mix", "C", "--hspace", "5", "--vspace", "2"};
    // Smooth edges: the composite is the composer's smooth one, the layers stay plain.
    for (const char* layer : {"composite", "text"}) {
        SCOPED_TRACE(std::string("smooth ") + layer);
        const QString path = folder.filePath(QStringLiteral("smooth-%1.png").arg(QLatin1String(layer)));
        const TRun run = RunRenderer(logoArguments + QStringList{"--smooth", "3", "--layer", layer, "-o", path});
        ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        TLogoParams smooth = params;
        smooth.Smooth = 3;
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), ComposedLayer(smooth, QLatin1String(layer)));
    }
    for (const char* layer : {"composite", "text", "gradient"}) {
        for (const char* extension : {"bmp", "PNG"}) {
            SCOPED_TRACE(std::string(layer) + "." + extension);
            const QString path = folder.filePath(QStringLiteral("%1.%2").arg(QLatin1String(layer), QLatin1String(extension)));
            const TRun run = RunRenderer(logoArguments + QStringList{"--layer", layer, "-o", path});
            ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
            QImage written(path);
            ASSERT_FALSE(written.isNull());
            const QImage expected = ComposedLayer(params, QLatin1String(layer));
            ASSERT_EQ(written.size(), expected.size());
            written = written.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < expected.height(); ++y)
                for (int x = 0; x < expected.width(); ++x)
                    ASSERT_EQ(written.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(RenderToolTest, FailedWriteLeavesTheExistingFileWhole)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("logo.bmp"));
    const QByteArray previous(600, 'p');
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(previous), previous.size());
    }
    // The default logo's BMP is 10294 bytes; writing stops after 1000.
    const TRun run = RunRenderer({"-o", path}, WithFileSizeLimit(1000));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(path)) << run.Err.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), previous);
    EXPECT_EQ(Entries(folder.path()), QStringList{QStringLiteral("logo.bmp")});
}

} // namespace

namespace {

QByteArray ShiftJis(const char* utf8)
{
    return QByteArray::fromStdString(TryEncodeShiftJis(Utf8ToText(utf8)).value());
}

TEST(RenderToolTest, ASettingsFileAndItsStylesGiveTheWindowsLogo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString ini = folder.filePath("Vezodev.ini");
    WriteAll(ini, "[OPTION]\r\nBGCOLOR=0x00FFFFFF\r\nTOPCOLOR=0x000000FF\r\nTEXT=" + ShiftJis("ロゴ") + "\r\nMIXTYPE=2\r\nHSPACE=250\r\n"
                   "[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=" + ShiftJis("青ゾ") + "\r\n[" + ShiftJis("青ゾ") + "]\r\nGRATYPE=3\r\nMIXTYPE=4\r\n");
    const QByteArray before = [&] { QFile f(ini); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    TLogoParams last = DefaultLogo();
    last.Text = u"ロゴ";
    last.BgColor = 0xFFFFFF;
    last.TopColor = 0x0000FF;
    last.MixType = mtSrcPaint;
    last.HSpace = 100;
    const QString lastFile = folder.filePath("last.bmp");
    ASSERT_EQ(RunRenderer({"--ini", ini, "-o", lastFile}).ExitCode, 0);
    EXPECT_TRUE(QImage(lastFile).convertToFormat(QImage::Format_RGB32) == ComposedLayer(last, "composite"));

    // The style lacks BGCOLOR and TEXT: grey and "Vezodev", as the window shows it.
    TLogoParams styled = last;
    styled.BgColor = 0x808080;
    styled.Text = u"Vezodev";
    styled.GraType = gtBottomTop;
    styled.MixType = mtSrcAnd;
    styled.VSpace = 6; // from the command line
    const QString styledFile = folder.filePath("styled.png");
    const TRun run = RunRenderer({"--ini", ini, "--style", QString::fromUtf8("青ゾ"), "--vspace", "6", "-o", styledFile});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(QImage(styledFile).convertToFormat(QImage::Format_RGB32) == ComposedLayer(styled, "composite"));

    const TRun unknown = RunRenderer({"--ini", ini, "--style", "Red", "--print-size"});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_TRUE(unknown.Err.contains("'Red'")) << unknown.Err.toStdString();
    EXPECT_EQ(RunRenderer({"--ini", folder.filePath("none.ini"), "--print-size"}).ExitCode, 2);
    const QByteArray after = [&] { QFile f(ini); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    EXPECT_EQ(after, before) << "the settings file is only read";
}

TEST(RenderToolTest, ABatchRendersEveryGoodLineAndNamesTheBadOnes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString batch = folder.filePath("logos.txt");
    WriteAll(batch, QStringLiteral("# three logos\n"
                                    "-o '%1' --text 'two words'\n"
                                    "--mix E -o '%2'\n"
                                    "\n"
                                    "-o \"%3\" --text 'it'\\''s' --mix D\n"
                                    "--text 'open -o x.bmp\n")
                         .arg(folder.filePath("a.bmp"), folder.filePath("bad.bmp"), folder.filePath("c.png"))
                         .toUtf8());
    const TRun run = RunRenderer({"--batch", batch});
    EXPECT_EQ(run.ExitCode, 2);
    const QStringList errors = run.Err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 2) << run.Err.toStdString();
    EXPECT_TRUE(errors[0].contains(batch + ":3: --mix"));
    EXPECT_TRUE(errors[1].contains(batch + ":6: "));
    TLogoParams a = DefaultLogo();
    a.Text = u"two words";
    EXPECT_TRUE(QImage(folder.filePath("a.bmp")).convertToFormat(QImage::Format_RGB32) == ComposedLayer(a, "composite"));
    TLogoParams c = DefaultLogo();
    c.Text = u"it's";
    c.MixType = mtSrcAnd;
    EXPECT_TRUE(QImage(folder.filePath("c.png")).convertToFormat(QImage::Format_RGB32) == ComposedLayer(c, "composite"));
    EXPECT_FALSE(QFile::exists(folder.filePath("bad.bmp")));
    EXPECT_EQ(RunRenderer({"--batch", batch, "--mix", "2"}).ExitCode, 2) << "no other option goes with --batch";
}

TEST(RenderToolTest, HelpAndErrorsSpeakTheLanguageOfTheEnvironment)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteAll(folder.filePath("batch.txt"), "--text 'open -o x.bmp\n");
    enum TSpeech { spClassic, spEnglish, spJapanese };
    struct TCase {
        std::vector<std::pair<const char*, const char*>> Environment;
        TSpeech Speech;
    };
    // The classic texts are today's bytes: the help's SHA-256 and the exact error.
    const QByteArray classicHelp = "32d264178eb50c715a247a191b4351e689e9e0a48ee4bc0167e6b6a9be571767";
    const QString classicError = QStringLiteral("vezodev-render: --mix: '9' is not 1..4 or A..D (see --help)\n");
    for (const TCase& c : {TCase{{{"LANG", "en_US.UTF-8"}}, spEnglish},
                           TCase{{{"LANG", "de_DE.UTF-8"}}, spEnglish},
                           TCase{{{"LANGUAGE", "ja"}, {"LANG", "ja_JP.UTF-8"}}, spJapanese},
                           TCase{{{"LANG", "ja_JP.UTF-8"}}, spJapanese},
                           TCase{{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, spClassic},
                           TCase{{{"LANG", "C"}}, spClassic},
                           TCase{{}, spClassic}}) {
        TRenderStart start;
        std::string trace;
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            start.Environment.remove(QString::fromLatin1(name));
        for (const auto& [name, value] : c.Environment) {
            start.Environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
            trace += std::string(name) + "=" + value + " ";
        }
        SCOPED_TRACE(trace);
        const TRun help = RunRenderer({"--help"}, start);
        const TRun error = RunRenderer({"--mix", "9", "-o", folder.filePath("x.bmp")}, start);
        start.Folder = folder.path();
        const TRun batch = RunRenderer({"--batch", "batch.txt"}, start);
        ASSERT_EQ(help.ExitCode, 0);
        ASSERT_EQ(error.ExitCode, 2);
        ASSERT_EQ(batch.ExitCode, 2);
        const QByteArray helpSha256 = QCryptographicHash::hash(help.OutBytes, QCryptographicHash::Sha256).toHex();
        if (c.Speech == spJapanese) {
            EXPECT_TRUE(help.Out.startsWith(QStringLiteral("使い方: vezodev-render"))) << help.Out.toStdString();
            EXPECT_EQ(error.Err, QStringLiteral("vezodev-render: --mix: '9' は 1..4 または A..D ではありません (--help を参照)\n"));
            EXPECT_EQ(batch.Err, QStringLiteral("vezodev-render: batch.txt:1: 一重引用符が閉じていません\n"));
        } else {
            EXPECT_FALSE(HasJapanese(help.Out + error.Err + batch.Err)) << (help.Out + error.Err + batch.Err).toStdString();
            EXPECT_EQ(helpSha256, classicHelp);
            EXPECT_EQ(error.Err, classicError);
            EXPECT_EQ(batch.Err, QStringLiteral("vezodev-render: batch.txt:1: a single quote is not closed\n"));
        }
        // Every language's help keeps the option column and the 80 columns of a terminal,
        // with each default filled in.
        const QStringList lines = help.Out.split(u'\n');
        EXPECT_GT(lines.size(), 100);
        for (const QString& line : lines) {
            EXPECT_LE(TerminalColumns(line), 80) << line.toStdString();
            EXPECT_FALSE(line.contains(u'{')) << line.toStdString();
        }
        EXPECT_TRUE(help.Out.contains(QStringLiteral("\n  -j, --jobs N        "))) << help.Out.toStdString();
        EXPECT_TRUE(help.Out.contains(QStringLiteral("\n  --bg C              "))) << help.Out.toStdString();
        EXPECT_TRUE(help.Out.contains(QStringLiteral("0x00808080)\n"))) << help.Out.toStdString();
    }
}

} // namespace
