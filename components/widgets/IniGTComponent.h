#pragma once

#include "components/settings/IniGT.h"

#include <QObject>
#include <QString>

// The settings store as a component of the window: a QObject whose properties a form
// sets by name and whose owner deletes it. Every operation is the plain store's.
class TIniGTComponent : public QObject, public TIniGT {
    Q_OBJECT
    Q_PROPERTY(int DefaultDir READ DefaultDirProperty WRITE SetDefaultDirProperty)
    Q_PROPERTY(QString FileName READ FileNameProperty WRITE SetFileNameProperty)
    Q_PROPERTY(int Fence READ FenceProperty WRITE SetFenceProperty)

public:
    explicit TIniGTComponent(QObject* owner = nullptr, const QString& programFile = QString());

    // A number outside the enumeration leaves the property as it was.
    int DefaultDirProperty() const { return DefaultDir(); }
    void SetDefaultDirProperty(int value);
    QString FileNameProperty() const { return QString::fromStdU16String(FileName()); }
    void SetFileNameProperty(const QString& value) { SetFileName(value.toStdU16String()); }
    int FenceProperty() const { return Fence(); }
    void SetFenceProperty(int value);

signals:
    // Would be shown by a form designer when a store leaves fnVer11Mode; never
    // emitted at run time.
    void DesignWarning(const QString& caption, const QString& text);
};
