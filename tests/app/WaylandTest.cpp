// The main window in a real Wayland session: this binary starts its own headless
// weston, runs the window on it through Qt's Wayland platform, and asks the compositor
// for what a user's window manager may ask: maximise, full screen, another size.
#include "Form1TestSupport.h"

#include "composer/SettingsKeys.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GuardedApplication.h"
#include "platform/widgets/PaintBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWindow>
#include <csignal>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif
#include <cstring>
#include <sys/prctl.h>

namespace {

bool WaylandRunning = false;

// Leaves what is allocated meanwhile out of the leak check, where there is one.
struct TLeakCheckPause {
#ifdef __SANITIZE_ADDRESS__
    TLeakCheckPause() { __lsan_disable(); }
    ~TLeakCheckPause() { __lsan_enable(); }
#endif
};

void Settle(int milliseconds = 300)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// What another program sees offered on the clipboard, asked while this process
// serves its selection.
QStringList OfferedTypes()
{
    QProcess paste;
    paste.start(QStringLiteral("wl-paste"), {QStringLiteral("--list-types")});
    QElapsedTimer waited;
    waited.start();
    while (paste.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        paste.waitForFinished(10);
    }
    return QString::fromUtf8(paste.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class WaylandTest : public Form1Fixture {
protected:
    void SetUp() override
    {
        if (!WaylandRunning)
            GTEST_SKIP() << "weston or Qt's Wayland platform is not installed";
        Form1Fixture::SetUp();
    }
};

TEST_F(WaylandTest, TheWindowSurvivesWhatTheCompositorImposesAndStoresNoPosition)
{
    WriteSettings("[Bounds]\r\nWindowSize.X=123\r\nWindowSize.Y=45\r\n");
    TForm1& form = Open();
    Settle();
    const QSize logoSize = form.size();
    QWindow* window = form.windowHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->flags() & Qt::WindowMaximizeButtonHint) << "a fixed-size window offers no maximise";
    window->showMaximized();
    Settle();
    window->showFullScreen();
    Settle();
    window->showNormal();
    Settle();
    form.windowHandle()->resize(900, 700);
    Settle();
    EXPECT_EQ(form.Pbox->size(), form.Img->size()) << "the panes keep the logo's size";

    form.Edit1->setFocus();
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, QStringLiteral("Wayland"));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(form.windowTitle(), TForm1::SizeCaption(form.Pbox->Width(), form.Pbox->Height()));
    EXPECT_NE(form.Pbox->size(), logoSize);

    {
        // Qt's Wayland clipboard keeps what was copied, and what it offered to the other
        // program, until the process ends, past the leak check.
        [[maybe_unused]] const TLeakCheckPause pause;
        form.BtCopyClick();
        if (!QStandardPaths::findExecutable(QStringLiteral("wl-paste")).isEmpty()) {
            // The selection reaches the compositor a little after the copy.
            QStringList offered;
            for (int tries = 0; tries < 25 && offered.isEmpty(); ++tries) {
                Settle(200);
                offered = OfferedTypes();
            }
            EXPECT_TRUE(offered.contains(QStringLiteral("image/png"))) << offered.join(' ').toStdString();
            EXPECT_TRUE(offered.contains(QStringLiteral("image/bmp"))) << offered.join(' ').toStdString();
        }
    }

    form.close();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("Wayland")) << "the parameters are written at close";
    EXPECT_EQ(Read("Bounds", "WindowSize.X"), QStringLiteral("123")) << "the stored position is left as it was";
    EXPECT_EQ(Read("Bounds", "WindowSize.Y"), QStringLiteral("45"));
}

// Starts a program and waits until the file it makes appears; false when it does not.
bool StartAndAwait(QProcess& process, const QString& program, const QStringList& arguments, const QString& madeFile)
{
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // The helper ends with this process, even one that crashed.
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(program, arguments);
    process.waitForStarted();
    for (int tries = 0; tries < 250 && process.state() == QProcess::Running && !QFile::exists(madeFile); ++tries)
        QThread::msleep(20);
    return process.state() == QProcess::Running && QFile::exists(madeFile);
}

// A private X server where one can be had: weston then runs in a window of it, with the
// server's keyboard and pointer as its seat, as a desktop session has one; without it,
// weston's headless backend has no seat and so no clipboard.
QString StartXServer(QProcess& xvfb)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return QString();
    for (int display = 191; display < 240; ++display) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        if (QFile::exists(socket) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            continue;
        if (StartAndAwait(xvfb, QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(display), QStringLiteral("-nolisten"), QStringLiteral("tcp")}, socket))
            return QStringLiteral(":%1").arg(display);
        xvfb.kill();
        xvfb.waitForFinished();
    }
    return QString();
}

} // namespace

int main(int argc, char** argv)
{
    // A private compositor with a runtime folder of its own, so no desktop is touched.
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess xvfb;
    QProcess weston;
    const QString socket = QStringLiteral("wayland-vezodev-test");
    // Listing the tests needs no compositor.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    if (!listing && !QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty() && runtime.isValid()) {
        const QString display = StartXServer(xvfb);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("DISPLAY"), display);
        weston.setProcessEnvironment(environment);
        const QString backend = display.isEmpty() ? QStringLiteral("--backend=headless-backend.so") : QStringLiteral("--backend=x11-backend.so");
        WaylandRunning = StartAndAwait(weston, QStringLiteral("weston"),
                                       {backend, QStringLiteral("--socket=") + socket, QStringLiteral("--width=1400"),
                                        QStringLiteral("--height=900"), QStringLiteral("--idle-time=0")},
                                       QDir(runtime.path()).filePath(socket));
    }
    int status = 0;
    {
        if (WaylandRunning) {
            qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
            qputenv("WAYLAND_DISPLAY", socket.toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "wayland");
            qunsetenv("DISPLAY");
            // The title bar with its buttons, as on a desktop without server-side frames.
            qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "0");
            // Typed keys are sent to the widgets directly, with no input method between.
            qputenv("QT_IM_MODULE", "none");
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        TGuardedApplication application(argc, argv);
        if (WaylandRunning && QGuiApplication::platformName() != QLatin1String("wayland"))
            WaylandRunning = false;
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    weston.terminate();
    weston.waitForFinished(3000);
    xvfb.terminate();
    xvfb.waitForFinished(3000);
    return status;
}
