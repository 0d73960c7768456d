#include "AccessibilityRecorder.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

std::vector<TAccessibilityRecorder::TUpdate>& Recorded()
{
    static std::vector<TAccessibilityRecorder::TUpdate> updates;
    return updates;
}

// QAccessible::setActive only tells observers; the platform's accessibility holds the state
// that QAccessible::isActive reads and that lets updates through.
void SetActive(bool active)
{
    if (QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration())
        if (QPlatformAccessibility* accessibility = integration->accessibility())
            accessibility->setActive(active);
}

void Record(QAccessibleEvent* event)
{
    QAccessible::State changed;
    if (event->type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    Recorded().push_back({event->type(), event->object(), event->child(), changed});
}

} // namespace

TAccessibilityRecorder::TAccessibilityRecorder()
    : FPrevious(QAccessible::installUpdateHandler(&Record))
{
    Recorded().clear();
    SetActive(true);
}

TAccessibilityRecorder::~TAccessibilityRecorder()
{
    SetActive(false);
    QAccessible::installUpdateHandler(FPrevious);
    Recorded().clear();
}

const std::vector<TAccessibilityRecorder::TUpdate>& TAccessibilityRecorder::Updates() const
{
    return Recorded();
}

std::vector<TAccessibilityRecorder::TUpdate> TAccessibilityRecorder::Of(QAccessible::Event type, const QObject* object) const
{
    std::vector<TUpdate> found;
    for (const TUpdate& update : Recorded())
        if (update.Type == type && update.Object == object)
            found.push_back(update);
    return found;
}

void TAccessibilityRecorder::Clear()
{
    Recorded().clear();
}

void TAccessibilityRecorder::Press(QWidget* control, Qt::Key key)
{
    control->setFocus(Qt::TabFocusReason);
    // A grid reports its focused cell once Qt has reported the grid.
    QCoreApplication::processEvents();
    Clear();
    QTest::keyClick(control, key);
}
