#pragma once

#include "platform/widgets/Events.h"

#include <QObject>

class QWidget;
class TMainFormHandlers;
struct TMainControls;

// Connects the main window's controls, menus, timer and keys to its handlers. Every
// handler runs through the application's one error policy, whether the user or code
// set it off; the Tab chain, the shortcuts and the keyboard's way to the logo's menu
// are set here too. The window owns it and ends it before its controls.
class TMainFormWiring : public QObject {
public:
    TMainFormWiring(QWidget& window, TMainControls& controls, TMainFormHandlers& handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using TMouseHandler = void (TMainFormHandlers::*)(QObject*, TMouseButton, TShiftState, int, int);

    void WireEvents();
    void WireKeyboard();
    template <typename Sender, typename Signal>
    void On(Sender* sender, Signal signal, void (TMainFormHandlers::*handler)());
    TMouseEvent OnMouse(TMouseHandler handler);
    void OpenImgMenuFromKeyboard();

    QWidget& FWindow;
    TMainControls& FControls;
    TMainFormHandlers& FHandlers;
    bool FImgMenuQueued = false;
};
