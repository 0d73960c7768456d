#include "platform/widgets/BitmapImage.h"
#include "composer/LogoComposer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A private X server for one test, gone with the object.
class TXvfb {
public:
    TXvfb()
    {
        for (int display = 91; display < 140 && FDisplay.isEmpty(); ++display) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
                continue;
            FServer.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"), QStringLiteral("0"),
                                                   QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            FServer.waitForStarted();
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 5000 && FServer.state() == QProcess::Running
                   && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
                QThread::msleep(20);
            if (FServer.state() == QProcess::Running && QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
                FDisplay = QStringLiteral(":%1").arg(display);
            else {
                FServer.kill();
                FServer.waitForFinished();
            }
        }
    }
    ~TXvfb()
    {
        FServer.terminate();
        FServer.waitForFinished(3000);
    }
    const QString& Display() const { return FDisplay; }

private:
    QProcess FServer;
    QString FDisplay;
};

// Does the screen show the bitmap with its top-left corner at (left, top)?
bool Shows(const QImage& screen, const TBitmap& bitmap, int left, int top)
{
    const QImage image = BitmapImageCopy(bitmap);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((screen.pixel(left + x, top + y) & 0xFFFFFFu) != (image.pixel(x, y) & 0xFFFFFFu))
                return false;
    return true;
}

TEST(EndToEndTest, TheProgramShowsTheDefaultLogoInItsThreePanes)
{
    TXvfb xvfb;
    if (xvfb.Display().isEmpty())
        GTEST_SKIP() << "Xvfb could not be started";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("vezodev"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VEZODEV_BIN), program));
    // Without a window manager the window goes exactly where the settings put it.
    QFile settings(folder.filePath(QStringLiteral("Vezodev.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Bounds]\r\nWindowSize.X=30\r\nWindowSize.Y=40\r\n");
    settings.close();

    QProcess vezodev;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), xvfb.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    vezodev.setProcessEnvironment(environment);
    vezodev.start(program, {});
    ASSERT_TRUE(vezodev.waitForStarted());

    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Vezodev";
    const TSize size = TLogoComposer::LogoSize(params);
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    const TBitmap& text = layers.Text;
    const TBitmap& gradient = layers.Gradient;
    const TBitmap& composite = layers.Composite;

    const QString shot = QDir(QStringLiteral(VZ_BINARY_DIR)).filePath(QStringLiteral("tests/end-to-end-window.png"));
    QImage screen;
    bool shown = false;
    QElapsedTimer waited;
    waited.start();
    while (!shown && waited.elapsed() < 15000) {
        QThread::msleep(200);
        QProcess grab;
        grab.setProcessEnvironment(environment);
        grab.start(QStringLiteral(SCREEN_GRAB), {shot});
        if (!grab.waitForFinished(5000) || grab.exitCode() != 0)
            continue;
        screen = QImage(shot).convertToFormat(QImage::Format_RGB32);
        shown = !screen.isNull() && Shows(screen, composite, 30 + 212, 40 + 2 * size.Height + 20);
    }
    vezodev.terminate();
    vezodev.waitForFinished(5000);
    ASSERT_TRUE(shown) << "the composite never showed; see " << shot.toStdString();
    EXPECT_TRUE(Shows(screen, text, 30 + 212, 40 + 4));
    EXPECT_TRUE(Shows(screen, gradient, 30 + 212, 40 + size.Height + 12));
}

} // namespace
