#pragma once

#include "platform/widgets/FontDialogState.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;

// The font dialog's window. It holds no state of its own: the widgets are the state,
// read back by State.
class TFontDialogForm : public QDialog {
public:
    TFontDialogForm(const TFontDialogState& state, QWidget* owner);

    TFontDialogState State() const;

private:
    void StateChanged();

    QComboBox* FFaceBox;
    QComboBox* FStyleBox;
    QComboBox* FSizeBox;
    QCheckBox* FStrikeOutBox;
    QCheckBox* FUnderlineBox;
    QComboBox* FColorBox;
    QLabel* FSample;
    QDialogButtonBox* FButtons;
    QList<TNamedColor> FColors;
};
