// The copy command seen from another program: this binary starts its own Xvfb, runs
// a real main window on it, copies, and asks xclip for the clipboard's PNG.
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/GuardedApplication.h"
#include "app/Form1.h"
#include "composer/LogoComposer.h"
#include "platform/widgets/Image.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString XDisplay;

// Runs xclip while this process serves the selection it owns.
QByteArray ClipboardPng()
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                          QStringLiteral("image/png"), QStringLiteral("-o")});
    QElapsedTimer waited;
    waited.start();
    while (xclip.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        xclip.waitForFinished(10);
    }
    return xclip.exitCode() == 0 ? xclip.readAllStandardOutput() : QByteArray();
}

TEST(ClipboardTest, AnotherProgramReadsTheCopiedLogo)
{
    if (XDisplay.isEmpty())
        GTEST_SKIP() << "no Xvfb";
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        GTEST_SKIP() << "no xclip";
    QTemporaryDir folder;
    TForm1::InitializeApplication();
    auto form = std::make_unique<TForm1>(nullptr, folder.filePath(QStringLiteral("vezodev")));
    form->show();
    QCoreApplication::processEvents();
    form->BtCopyClick();
    const QImage copied = QImage::fromData(ClipboardPng(), "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(copied.isNull()) << "xclip read no PNG";
    EXPECT_TRUE(copied == BitmapImageCopy(form->Img->Picture()));
    EXPECT_EQ(copied.size(), QSize(106, 32));
}

} // namespace

int main(int argc, char** argv)
{
    // A private X server, so the clipboard is a real one other programs can read.
    QProcess xvfb;
    for (int display = 141; display < 190 && XDisplay.isEmpty(); ++display) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        if (QFile::exists(socket) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            continue;
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(display), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        xvfb.waitForStarted();
        for (int tries = 0; tries < 250 && xvfb.state() == QProcess::Running && !QFile::exists(socket); ++tries)
            QThread::msleep(20);
        if (xvfb.state() == QProcess::Running && QFile::exists(socket))
            XDisplay = QStringLiteral(":%1").arg(display);
        else {
            xvfb.kill();
            xvfb.waitForFinished();
        }
    }
    int status = 0;
    {
        if (!XDisplay.isEmpty()) {
            qputenv("DISPLAY", XDisplay.toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "xcb");
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        TGuardedApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    xvfb.terminate();
    xvfb.waitForFinished(3000);
    return status;
}
