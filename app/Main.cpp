#include "app/Form1.h"
#include "platform/Application.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
