#include "platform/widgets/Application.h"

#include "platform/raster/Exception.h"
#include "platform/raster/InstalledData.h"
#include "platform/widgets/HelpViewer.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/QtFontSubstitutions.h"

#include <QCoreApplication>
#include <QFileInfo>

TApplication::TApplication()
{
    InstallQtFontSubstitutions();
}

TApplication& TApplication::Instance()
{
    static TApplication application;
    return application;
}

QString TApplication::ExeName()
{
    return RunningProgramFile();
}

void TApplication::HelpContext(int context)
{
    ShowHelp(FHelpFile, context);
}

void TApplication::HandleException(QWidget* owner, const std::exception& error)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    const QString message = own ? own->Message() : QString::fromLocal8Bit(error.what());
    if (OnException) {
        OnException(message);
        return;
    }
    ShowErrorBox(owner, FTitle, message);
}

void TApplication::Guard(QWidget* owner, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        HandleException(owner, error);
    }
}
