#include <gtest/gtest.h>
#ifdef VZ_TEST_WIDGETS
#include "platform/widgets/GuardedApplication.h"
using TTestApplication = TGuardedApplication;
#else
#include <QCoreApplication>
using TTestApplication = QCoreApplication;
#endif

// Every test binary runs without a display unless told otherwise. Tests of the layers
// below the widgets get a core application only, so nothing there can lean on a GUI;
// tests of widgets get the program's own application, which shows escaped errors.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TTestApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
