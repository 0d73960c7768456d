#pragma once

#include <QString>

class QWidget;
class TForm1;

// Makes the main window's contents: loads the stored form into the window, binds each
// control to its form name, shows the logo's design values, and makes the components
// without a place on the window (dialogs, settings store, menus, timer).
class TMainFormLoader {
public:
    // Returns the form's client area; programFile names the program whose folder holds
    // the settings file. Throws when the form cannot be loaded or lacks a control.
    static QWidget& Load(TForm1& form, const QString& programFile);

private:
    static void BindControls(TForm1& form, const QWidget& client);
    static void ShowDesignValues(TForm1& form);
    static void CreateComponents(TForm1& form, const QString& programFile);
};
