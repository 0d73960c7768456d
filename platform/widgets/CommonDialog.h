#pragma once

#include <QString>

class QDialogButtonBox;
class QWidget;

// The standard dialogs of the program: colour, font and save file. Each is a value
// that holds its setting, Execute shows the dialog modally and, only on OK, stores the
// user's choice back. When a kind's Answerer is set, Execute asks it instead of
// showing anything: it may change the dialog's setting and returns true for OK.
class TCommonDialog {
public:
    virtual ~TCommonDialog() = default;
    virtual bool Execute(QWidget* owner = nullptr) = 0;
};

// The caption of the standard dialogs' cancel button.
QString DialogCancelText();

// Gives the OK and cancel buttons of a standard dialog their captions.
void SetDialogButtonTexts(QDialogButtonBox& buttons);
