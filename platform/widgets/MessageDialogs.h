#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Modal message and input boxes. Each call describes its box as a TMessageRequest;
// when MessageAnswerer is set it answers instead of the user and nothing is shown.

enum TMessageKind : unsigned char { mkInformation, mkWarning, mkError, mkInput };

struct TMessageRequest {
    TMessageKind Kind = mkInformation;
    QString Caption;
    // The message, or the input box's prompt.
    QString Text;
    // The button texts, OK (the default button) first, then the one Escape presses.
    QStringList Buttons;
    // Input box only: the text the edit starts with, and on OK the text entered.
    QString EditText;
    // Input box only: the most characters the edit takes; 0 for no limit.
    int MaxLength = 0;
    // Message box only: the text of a help button, or empty for none; on return,
    // whether that button was pressed.
    QString HelpButton;
    bool HelpChosen = false;
};

// Returns true for OK; for an input box it leaves the entered text in EditText.
using TMessageAnswerer = std::function<bool(TMessageRequest& request)>;
extern TMessageAnswerer MessageAnswerer;

// An information box with the button "OK".
void ShowMessageDialog(QWidget* owner, const QString& caption, const QString& text);

// An information box with "OK" (default, also Escape) and "ヘルプ"; true when
// "ヘルプ" was pressed.
bool ShowMessageWithHelp(QWidget* owner, const QString& caption, const QString& text);

// A warning box with "OK" (default) and "ｷｬﾝｾﾙ" (Escape, also closing the box); true
// only for OK.
bool WarningOkCancel(QWidget* owner, const QString& caption, const QString& text);

// A box with prompt above a one-line edit that holds value, fully selected, and takes
// at most maxLength characters (0 for no limit); "OK" (default) and "ｷｬﾝｾﾙ" (Escape).
// On OK value becomes the edit's text exactly as entered and the result is true; on
// Cancel value stays as it was.
bool InputQuery(QWidget* owner, const QString& caption, const QString& prompt, QString& value, int maxLength);

// The error box the application shows an exception in: an error icon and "OK".
void ShowErrorBox(QWidget* owner, const QString& caption, const QString& text);

// The window that shows request, built but not shown; the caller owns it. A message
// becomes a QMessageBox, an input request a QDialog with a QLabel and a QLineEdit.
QDialog* CreateMessageWindow(const TMessageRequest& request, QWidget* owner);
