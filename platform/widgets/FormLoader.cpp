#include "platform/widgets/FormLoader.h"

#include <QHash>
#include <QWidget>

namespace {

QHash<QString, TWidgetFactory>& Registry()
{
    static QHash<QString, TWidgetFactory> registry;
    return registry;
}

} // namespace

TFormLoader::TFormLoader(QObject* parent)
    : QUiLoader(parent)
{
}

void TFormLoader::RegisterClass(const QString& className, TWidgetFactory factory)
{
    Registry().insert(className, std::move(factory));
}

bool TFormLoader::IsRegistered(const QString& className)
{
    return Registry().contains(className);
}

QWidget* TFormLoader::Load(QIODevice& form, QWidget* parent)
{
    return load(&form, parent);
}

QWidget* TFormLoader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    const auto factory = Registry().constFind(className);
    if (factory == Registry().constEnd())
        return QUiLoader::createWidget(className, parent, name);
    QWidget* widget = (*factory)(parent);
    widget->setObjectName(name);
    return widget;
}
