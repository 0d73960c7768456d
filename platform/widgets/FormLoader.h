#pragma once

#include <QString>
#include <QUiLoader>
#include <functional>

class QIODevice;
class QWidget;

using TWidgetFactory = std::function<QWidget*(QWidget* parent)>;

// Reads a stored form (.ui XML) and builds its widgets. Classes registered here are
// made by their factories, every other class by Qt's own loader. Each widget's
// properties are applied in the order the form lists them, through the property
// system, so a setter may rely on the properties stored before it.
class TFormLoader : public QUiLoader {
    Q_OBJECT

public:
    explicit TFormLoader(QObject* parent = nullptr);

    // Makes className known to every loader; a second registration replaces the first.
    static void RegisterClass(const QString& className, TWidgetFactory factory);
    static bool IsRegistered(const QString& className);

    // The form's top widget with its children, owned by parent; nullptr when the form
    // cannot be read (ErrorString() then says why).
    QWidget* Load(QIODevice& form, QWidget* parent = nullptr);
    QString ErrorString() const { return errorString(); }

    QWidget* createWidget(const QString& className, QWidget* parent = nullptr, const QString& name = QString()) override;
};
