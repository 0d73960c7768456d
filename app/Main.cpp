#include "app/Form1.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GuardedApplication.h"
#include "platform/widgets/InterfaceLanguage.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

namespace {

// The program's icon at every size the build made of it.
QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {VEZODEV_ICON_SIZES})
        icon.addFile(QStringLiteral(":/icons/vezodev-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("vezodev " VEZODEV_VERSION);
            return 0;
        }
    }
    TGuardedApplication application(argc, argv);
    application.setWindowIcon(ProgramIcon());
    TInterfaceLanguage::Apply(TApplication::ExeName());
    TForm1::InitializeApplication();
    try {
        TForm1 form;
        form.show();
        return application.exec();
    } catch (const std::exception& error) {
        TApplication::Instance().HandleException(nullptr, error);
        return 1;
    }
}
