#pragma once

#include <QAccessible>
#include <QPointer>
#include <vector>

class QWidget;

// Turns accessibility on for one test and records every update a control sends, as a
// screen reader's bridge would receive it; puts the previous handler back when it ends.
class TAccessibilityRecorder {
public:
    struct TUpdate {
        QAccessible::Event Type;
        QPointer<QObject> Object;
        int Child;
        QAccessible::State Changed; // the states a state change names
    };

    TAccessibilityRecorder();
    ~TAccessibilityRecorder();
    TAccessibilityRecorder(const TAccessibilityRecorder&) = delete;
    TAccessibilityRecorder& operator=(const TAccessibilityRecorder&) = delete;

    // The updates recorded since the last Clear.
    const std::vector<TUpdate>& Updates() const;
    // The recorded updates of one type about one object.
    std::vector<TUpdate> Of(QAccessible::Event type, const QObject* object) const;
    void Clear();
    // Gives the control the keyboard focus as the Tab key would, forgets what that
    // reported, then presses the key on it: what is recorded then is the key's doing.
    void Press(QWidget* control, Qt::Key key);

private:
    QAccessible::UpdateHandler FPrevious;
};
