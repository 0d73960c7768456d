#include "platform/widgets/GuardedApplication.h"

#include "platform/widgets/Application.h"
#include "platform/widgets/GraphicControlAccessible.h"
#include "platform/widgets/SpinEditAccessible.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

const QEvent::Type HandlerEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A handler on its way through notify, with the window its errors belong to.
class THandlerEvent : public QEvent {
public:
    THandlerEvent(QWidget* owner, const std::function<void()>& handler)
        : QEvent(HandlerEventType), Owner(owner), Handler(handler)
    {
    }

    QPointer<QWidget> Owner;
    const std::function<void()>& Handler;
};

// Receives handler events and runs them.
class THandlerRunner : public QObject {
protected:
    bool event(QEvent* event) override
    {
        if (event->type() != HandlerEventType)
            return QObject::event(event);
        static_cast<THandlerEvent*>(event)->Handler();
        return true;
    }
};

// The window an error box belongs to: the handler's owner, the window of the widget
// that received the event, or the active window.
QWidget* OwnerOf(QObject* receiver, QEvent* event)
{
    if (event->type() == HandlerEventType)
        return static_cast<THandlerEvent*>(event)->Owner;
    if (receiver->isWidgetType())
        return static_cast<QWidget*>(receiver)->window();
    return QApplication::activeWindow();
}

} // namespace

// The program's controls tell a screen reader what they are from the start.
TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    TGraphicControlAccessible::Install();
    TSpinEditAccessible::Install();
}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowEscaped(receiver, event, error);
        return true;
    }
}

void TGuardedApplication::ShowEscaped(QObject* receiver, QEvent* event, const std::exception& error)
{
    TApplication& application = TApplication::Instance();
    QPointer<QWidget> owner = OwnerOf(receiver, event);
    if (event->type() != QEvent::Paint) {
        application.ShowError(owner, TApplication::ExceptionMessage(error));
        return;
    }
    if (FPaintErrorShown)
        return;
    FPaintErrorShown = true;
    QMetaObject::invokeMethod(this, [this, &application, owner, message = TApplication::ExceptionMessage(error)] {
        application.ShowError(owner, message);
        FPaintErrorShown = false;
    }, Qt::QueuedConnection);
}

void TGuardedApplication::Run(QWidget* owner, const std::function<void()>& handler)
{
    THandlerRunner runner;
    THandlerEvent event(owner, handler);
    QCoreApplication::sendEvent(&runner, &event);
}
