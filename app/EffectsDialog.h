#pragma once

#include "composer/LogoComposer.h"

#include <QDialog>
#include <functional>
#include <vector>

class QFormLayout;
class QPushButton;
class TColorDialog;
class TSpinEdit;

// The effects of the logo: letter spacing, outline and drop shadow, as number fields
// with arrows and colour buttons that open the colour dialog. Every change is reported
// at once, so the window can show it; the caller puts the old effects back when the
// dialog is cancelled.
class TEffectsDialog : public QDialog {
    Q_OBJECT

public:
    TEffectsDialog(const TTextEffects& effects, TColorDialog& colorDialog, QWidget* parent = nullptr);

    // The effects the fields hold now, each limited to its range.
    TTextEffects Effects() const;
    // Shows effects in the fields without firing OnChange: a change that was refused
    // is taken back.
    void SetEffects(const TTextEffects& effects);
    // Shows the dialog modally beside its owner, the first field's text selected; true
    // when it is left with OK.
    bool Execute();

    // A colour as a colour picker writes it, "#RRGGBB"; a system colour at the value a
    // logo draws it with.
    static QString ColorText(TColor color);
    // Where a dialog's frame of size frame goes beside the owner's frame: on its right,
    // else on its left, always within the screen's available area, so the owner's logo
    // stays in view.
    static QPoint PlaceBeside(const QRect& owner, const QSize& frame, const QRect& available);

    // Fires on every change of a field or a colour.
    std::function<void(const TTextEffects&)> OnChange;
    // Answers in place of the user when set (tests): called instead of showing the
    // dialog, with the dialog ready; its result is Execute's.
    static std::function<bool(TEffectsDialog& dialog)> Answerer;

    TSpinEdit* EdSpacing = nullptr;
    TSpinEdit* EdOutline = nullptr;
    QPushButton* BtOutlineColor = nullptr;
    TSpinEdit* EdShadowX = nullptr;
    TSpinEdit* EdShadowY = nullptr;
    QPushButton* BtShadowColor = nullptr;

private:
    // A number field and the effect it holds.
    struct TNumberField {
        TSpinEdit* Edit;
        int TTextEffects::*Effect;
    };

    TSpinEdit* AddNumber(QFormLayout& form, const QString& label, int first, int last, int TTextEffects::*effect);
    // title names the colour in the colour dialog's caption.
    QPushButton* AddColor(QFormLayout& form, const QString& label, const QString& title, TColor TTextEffects::*effect);
    void ShowColor(QPushButton& button, TColor color);
    void PlaceBesideOwner();
    void Changed();
    void ShowLimits();

    TColorDialog& FColorDialog;
    // The colours chosen so far; the numbers are read from their fields.
    TTextEffects FEffects;
    std::vector<TNumberField> FNumbers;
    std::vector<std::pair<QPushButton*, TColor TTextEffects::*>> FColors;
    bool FSetting = false; // SetEffects is filling the fields
};
