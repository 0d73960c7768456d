#include "app/LogoComposer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Runs the built renderer. A file-size limit, when given, makes writes beyond it fail
// (SIGXFSZ is ignored so that the write reports the error instead of killing us).
TRun RunRenderer(const QStringList& arguments, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    QProcess process;
    if (fileSizeLimit != RLIM_INFINITY) {
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    process.start(QStringLiteral(VEZODEV_RENDER), arguments);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.ExitCode = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TLogoParams DefaultLogo()
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = QStringLiteral("Vezodev");
    return params;
}

QImage ComposedLayer(const TLogoParams& params, const QString& layer)
{
    const TSize size = TLogoComposer::LogoSize(params);
    TBitmap text, gradient, composite;
    TLogoComposer::RenderTextLayer(params, text);
    TLogoComposer::RenderGradientLayer(params, size.Width, size.Height, gradient);
    TLogoComposer::MixLayers(text, gradient, params.MixType, composite);
    if (layer == QLatin1String("text"))
        return text.Image();
    if (layer == QLatin1String("gradient"))
        return gradient.Image();
    return composite.Image();
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
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
    for (const TCase& c : {TCase{{"--print-size"}, 0, {}},
                           TCase{{"--help"}, 0, {}},
                           TCase{{"-o", folder.filePath("ok.bmp")}, 0, {}},
                           TCase{{}, 2, "-o"},
                           TCase{{"--mix", "E", "-o", folder.filePath("x.bmp")}, 2, "--mix"},
                           TCase{{"--font-height", "-5", "--print-size"}, 2, "'-5'"},
                           TCase{{"--print-size", "-o", folder.filePath("x.gif")}, 2, "x.gif"},
                           TCase{{"-o", missing}, 1, missing},
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
    EXPECT_EQ(FilesIn(folder.path()), QStringList{QStringLiteral("ok.bmp")});
}

TEST(RenderToolTest, PrintSizeGivesTheComposersSize)
{
    EXPECT_EQ(RunRenderer({"--print-size"}).Out, QStringLiteral("106 x 32\n"));

    // UTF-8 text on the command line, margins and a font height all reach the composer.
    TLogoParams params = DefaultLogo();
    params.Text = QString::fromUtf8("ロゴ Ünïcode");
    params.Font.SetHeight(-40);
    params.HSpace = 7;
    params.VSpace = 3;
    const TSize size = TLogoComposer::LogoSize(params);
    const TRun run = RunRenderer({"--text", params.Text, "--font-height", "40", "--hspace", "7", "--vspace", "3", "--print-size"});
    EXPECT_EQ(run.Out, QStringLiteral("%1 x %2\n").arg(size.Width).arg(size.Height));
}

TEST(RenderToolTest, WrittenImageHasTheComposersPixels)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TLogoParams params = DefaultLogo();
    params.Text = QStringLiteral("Gradient, Qj!");
    params.Font.SetStyle(fsBold | fsItalic | fsUnderline);
    params.Font.SetColor(0x00203040);
    params.BgColor = 0x00F0E0D0;
    params.TopColor = 0x00FF0000;
    params.LastColor = 0x000080FF;
    params.GraType = 2;
    params.MixType = 3;
    params.HSpace = 5;
    params.VSpace = 2;
    const QStringList logoArguments = {"--text", params.Text, "--italic", "--underline", "--font-color", "0x203040",
                                       "--bg", "#D0E0F0", "--top", "0xFF0000", "--last", "#FF8000",
                                       "--direction", "2", "--mix", "C", "--hspace", "5", "--vspace", "2"};
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
    const TRun run = RunRenderer({"-o", path}, 1000);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(path)) << run.Err.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), previous);
    EXPECT_EQ(FilesIn(folder.path()), QStringList{QStringLiteral("logo.bmp")});
}

} // namespace
