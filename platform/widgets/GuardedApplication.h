#pragma once

#include <QApplication>
#include <exception>
#include <functional>

class QWidget;

// The program's Qt application. Every event is delivered through notify, which is the
// one place an exception escaping a handler ends: it is shown in the error box and the
// program carries on. An exception out of a paint event is shown only after the paint,
// as a box is modal and must not open while Qt paints; a paint that keeps failing shows
// one box until that box is closed.
class TGuardedApplication : public QApplication {
public:
    TGuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs handler as an event of its own, so that an exception it throws meets notify
    // and stops there whoever called it (the user through a control, or code emitting
    // a control's signal); owner is the window the error box belongs to. Qt's widget
    // library is commonly built without exception support, so unwinding through its
    // frames skips their clean-up: a handler run this way stops its exception before
    // it reaches them.
    static void Run(QWidget* owner, const std::function<void()>& handler);

private:
    void ShowEscaped(QObject* receiver, QEvent* event, const std::exception& error);

    bool FPaintErrorShown = false; // a paint's error box is queued or open
};
