#include "app/EffectsDialog.h"

#include "platform/base/IntegerSyntax.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/CaptionName.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/QtColor.h"
#include "platform/widgets/SpinEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

std::function<bool(TEffectsDialog&)> TEffectsDialog::Answerer;

TEffectsDialog::TEffectsDialog(const TTextEffects& effects, TColorDialog& colorDialog, QWidget* parent)
    : QDialog(parent), FColorDialog(colorDialog), FEffects(effects)
{
    setWindowTitle(Tr("効果"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    EdSpacing = AddNumber(*form, Tr("文字間隔(&S)"), TTextEffects::MinSpacing, TTextEffects::MaxSpacing,
                          &TTextEffects::Spacing);
    EdOutline = AddNumber(*form, Tr("縁取りの幅(&W)"), 0, TTextEffects::MaxOutlineWidth,
                          &TTextEffects::OutlineWidth);
    BtOutlineColor = AddColor(*form, Tr("縁取りの色(&O)"), Tr("縁取りの色"), &TTextEffects::OutlineColor);
    EdShadowX = AddNumber(*form, Tr("影の横のずれ(&X)"), -TTextEffects::MaxShadowOffset,
                          TTextEffects::MaxShadowOffset, &TTextEffects::ShadowX);
    EdShadowY = AddNumber(*form, Tr("影の縦のずれ(&Y)"), -TTextEffects::MaxShadowOffset,
                          TTextEffects::MaxShadowOffset, &TTextEffects::ShadowY);
    BtShadowColor = AddColor(*form, Tr("影の色(&C)"), Tr("影の色"), &TTextEffects::ShadowColor);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetDialogButtonTexts(*buttons);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TSpinEdit* TEffectsDialog::AddNumber(QFormLayout& form, const QString& label, int first, int last,
                                     int TTextEffects::*effect)
{
    auto* field = new TSpinEdit(this);
    field->SetMinValue(first);
    field->SetMaxValue(last);
    field->SetValue(FEffects.*effect);
    FNumbers.push_back({field, effect});
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    field->setAccessibleName(CaptionName(label));
    field->Editor()->setAccessibleName(CaptionName(label));
    form.addRow(caption, field);
    field->OnChange = [this](QObject*) { Changed(); };
    return field;
}

QPushButton* TEffectsDialog::AddColor(QFormLayout& form, const QString& label, const QString& title,
                                     TColor TTextEffects::*effect)
{
    TColor& color = FEffects.*effect;
    auto* button = new QPushButton(this);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(button);
    button->setAccessibleName(CaptionName(label));
    ShowColor(*button, color);
    FColors.emplace_back(button, effect);
    form.addRow(caption, button);
    connect(button, &QPushButton::clicked, this, [this, button, &color, title] {
        FColorDialog.SetColor(color);
        FColorDialog.SetTitle(title);
        if (!FColorDialog.Execute(this))
            return;
        color = FColorDialog.Color();
        ShowColor(*button, color);
        Changed();
    });
    return button;
}

void TEffectsDialog::ShowColor(QPushButton& button, TColor color)
{
    QPixmap swatch(32, 12);
    swatch.fill(ToQColor(color, ctClassic));
    button.setIcon(swatch);
    button.setIconSize(swatch.size());
    button.setText(ColorText(color));
}

QString TEffectsDialog::ColorText(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QStringLiteral("#%1").arg(RGBToPixel(rgb) & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

QPoint TEffectsDialog::PlaceBeside(const QRect& owner, const QSize& frame, const QRect& available)
{
    const int roomRight = available.right() - owner.right();
    const int roomLeft = owner.left() - available.left();
    const int lastX = std::max(available.left(), available.right() + 1 - frame.width());
    int x = owner.right() + 1;
    // With room on neither side the dialog keeps to the screen's edge on the roomier one.
    if (roomRight < frame.width() && roomLeft >= frame.width())
        x = owner.left() - frame.width();
    else if (roomRight < frame.width())
        x = roomRight >= roomLeft ? lastX : available.left();
    const int lastY = std::max(available.top(), available.bottom() + 1 - frame.height());
    return QPoint(std::clamp(x, available.left(), lastX), std::clamp(owner.top(), available.top(), lastY));
}

void TEffectsDialog::PlaceBesideOwner()
{
    const QWidget* owner = parentWidget();
    if (owner == nullptr)
        return;
    adjustSize();
    const QScreen* screen = owner->screen();
    if (screen == nullptr)
        return;
    move(PlaceBeside(owner->frameGeometry(), frameGeometry().size(), screen->availableGeometry()));
}

TTextEffects TEffectsDialog::Effects() const
{
    TTextEffects effects = FEffects;
    for (const TNumberField& number : FNumbers)
        effects.*number.Effect = number.Edit->Value();
    return effects.Clamped();
}

bool TEffectsDialog::Execute()
{
    PlaceBesideOwner();
    // The dialog opens with its first field's text selected, so what the user types
    // replaces the number instead of being added to it.
    EdSpacing->setFocus(Qt::OtherFocusReason);
    EdSpacing->Editor()->selectAll();
    if (Answerer)
        return Answerer(*this);
    return exec() == QDialog::Accepted;
}

void TEffectsDialog::SetEffects(const TTextEffects& effects)
{
    FSetting = true;
    FEffects = effects;
    for (const TNumberField& number : FNumbers)
        number.Edit->SetValue(effects.*number.Effect);
    for (const auto& [button, effect] : FColors)
        ShowColor(*button, effects.*effect);
    FSetting = false;
}

void TEffectsDialog::Changed()
{
    if (FSetting)
        return;
    ShowLimits();
    if (OnChange)
        OnChange(Effects());
}

// The logo takes a number past its range at the range's limit, and the field shows the
// limit at once: every range holds 0, so further digits could only take it further.
void TEffectsDialog::ShowLimits()
{
    const QScopedValueRollback setting(FSetting, true);
    for (const TNumberField& number : FNumbers) {
        const std::optional<std::int32_t> typed = TryStrToInt(number.Edit->Text());
        if (typed && number.Edit->CheckValue(*typed) != *typed)
            number.Edit->SetValue(*typed);
    }
}
