#pragma once

#include <QAccessible>
#include <QLatin1String>

// The accessibility factory of one control class: it answers for objects whose class is
// exactly TControl, so a subclass without a factory of its own falls through to the
// nearest base class that has one, as Qt walks up the class chain. Install is called by
// each constructor of the control and installs the factory once per process.
template <class TAccessible, class TControl>
class TAccessibleFactory {
public:
    static void Install()
    {
        static const bool installed = [] {
            QAccessible::installFactory(&Create);
            return true;
        }();
        Q_UNUSED(installed);
    }

private:
    static QAccessibleInterface* Create(const QString& className, QObject* object)
    {
        if (className != QLatin1String(TControl::staticMetaObject.className()))
            return nullptr;
        auto* control = qobject_cast<TControl*>(object);
        return control ? new TAccessible(control) : nullptr;
    }
};
