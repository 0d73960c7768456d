#pragma once

#include <QString>

class QWidget;
struct TMainControls;

// Makes the main window's contents: loads the stored form into the window, binds each
// control to its form name, shows the logo's design values, and makes the components
// without a place on the window (dialogs, settings store, menus, timer).
class TMainFormLoader {
public:
    // Loads the form into window and returns its client area; programFile names the program whose folder holds
    // the settings file. Throws when the form cannot be loaded or lacks a control.
    static QWidget& Load(QWidget& window, TMainControls& form, const QString& programFile);

private:
    static void BindControls(TMainControls& form, const QWidget& client);
    static void ShowDesignValues(TMainControls& form);
    static void CreateComponents(QWidget& window, TMainControls& form, const QString& programFile);
};
