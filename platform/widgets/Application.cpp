#include "platform/widgets/Application.h"

#include "platform/base/Exception.h"
#include "platform/base/InstalledData.h"
#include "platform/widgets/HelpViewer.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/QtFontSubstitutions.h"
#include "platform/widgets/QtText.h"

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
    return ToQString(RunningProgramFile().u16string());
}

void TApplication::HelpContext(int context)
{
    ShowHelp(FHelpFile, context);
}

QString TApplication::ExceptionMessage(const std::exception& error)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    return own ? ToQString(own->Message()) : QString::fromLocal8Bit(error.what());
}

void TApplication::ShowError(QWidget* owner, const QString& message)
{
    if (OnException) {
        OnException(message);
        return;
    }
    ShowErrorBox(owner, FTitle, message);
}

void TApplication::HandleException(QWidget* owner, const std::exception& error)
{
    ShowError(owner, ExceptionMessage(error));
}
