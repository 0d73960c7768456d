#include "platform/widgets/SpinEdit.h"

#include "platform/base/IntegerSyntax.h"
#include "platform/widgets/QtText.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace {

QToolButton* MakeArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The arrows leave the keyboard focus in the text, so a click never counts as
    // leaving the field.
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(15);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

// Focus moving to another window or to a popup menu is no exit from the field: the
// user comes back to the same unfinished text.
bool LeavesField(const QFocusEvent& event)
{
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

} // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent), FEditor(new QLineEdit(QStringLiteral("0"), this)),
      FUpButton(MakeArrowButton(Qt::UpArrow, this)), FDownButton(MakeArrowButton(Qt::DownArrow, this))
{
    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(FUpButton);
    arrows->addWidget(FDownButton);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FEditor, 1);
    layout->addLayout(arrows);

    // The field itself holds the focus and hands the keys to its text, as Qt's spin box
    // does, so a screen reader meets a spin button, with its value, where the keys go.
    setFocusPolicy(FEditor->focusPolicy());
    setAttribute(Qt::WA_InputMethodEnabled);
    FEditor->setFocusProxy(this);
    FEditor->installEventFilter(this);
    connect(FEditor, &QLineEdit::textChanged, this, [this] { EditorTextChanged(); });
    connect(FUpButton, &QToolButton::clicked, this, [this] { StepUp(); });
    connect(FDownButton, &QToolButton::clicked, this, [this] { StepDown(); });
}

QString TSpinEdit::Text() const
{
    return FEditor->text();
}

void TSpinEdit::SetText(const QString& text)
{
    if (text != FEditor->text())
        FEditor->setText(text);
}

int TSpinEdit::Value() const
{
    return TryStrToInt(ToText(FEditor->text())).value_or(FMinValue);
}

int TSpinEdit::CheckValue(qint64 value) const
{
    if (FMinValue != FMaxValue)
        value = std::clamp<qint64>(value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void TSpinEdit::SetValue(int value)
{
    SetText(QString::number(CheckValue(value)));
}

void TSpinEdit::StepUp()
{
    SetText(QString::number(CheckValue(static_cast<qint64>(Value()) + FIncrement)));
}

void TSpinEdit::StepDown()
{
    SetText(QString::number(CheckValue(static_cast<qint64>(Value()) - FIncrement)));
}

void TSpinEdit::EditorTextChanged()
{
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, Value());
        QAccessible::updateAccessibility(&changed);
    }
    if (OnChange)
        OnChange(this);
}

bool TSpinEdit::StepKey(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Up)
        StepUp();
    else if (event.key() == Qt::Key_Down)
        StepDown();
    else
        return false;
    return true;
}

bool TSpinEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && FEditor->event(event))
        return true;
    return QWidget::event(event);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (!StepKey(*event))
        FEditor->event(event);
}

void TSpinEdit::keyReleaseEvent(QKeyEvent* event)
{
    FEditor->event(event);
}

// Focus events never travel on to a parent, so the text may have them through its filter.
void TSpinEdit::focusInEvent(QFocusEvent* event)
{
    QCoreApplication::sendEvent(FEditor, event);
    QWidget::focusInEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QCoreApplication::sendEvent(FEditor, event);
    QWidget::focusOutEvent(event);
}

void TSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    FEditor->event(event);
}

QVariant TSpinEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return FEditor->inputMethodQuery(query);
}

void TSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    FEditor->event(event);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEditor) {
        if (event->type() == QEvent::KeyPress) {
            if (StepKey(*static_cast<QKeyEvent*>(event)))
                return true;
        } else if (event->type() == QEvent::FocusOut && LeavesField(*static_cast<QFocusEvent*>(event))) {
            const int value = Value();
            if (CheckValue(value) != value)
                SetValue(value);
        }
    }
    return QWidget::eventFilter(watched, event);
}
