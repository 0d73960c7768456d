#pragma once

#include "platform/widgets/Events.h"

#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

// A number field: a line edit with up and down arrow buttons beside it. The text stays
// freely editable, so while the user types it may hold anything ("-", "1.5", "250");
// Value reads it as an integer and falls back to MinValue. The arrows, the Up and Down
// keys and leaving the field bring the text back into MinValue..MaxValue.
class TSpinEdit : public QWidget {
    Q_OBJECT
    // Stored forms apply these in this order, so the range is known before the value.
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }

    QString Text() const;
    // Replaces the text; OnChange fires only when the text really changes.
    void SetText(const QString& text);

    // The text as an integer in the old syntax (leading spaces, sign, "$" for hex), or
    // MinValue when the text is not one. The result may lie outside the range.
    int Value() const;
    // Writes value as decimal text, limited to MinValue..MaxValue unless the two are equal.
    void SetValue(int value);

    // What the up and down arrows do: Value plus or minus Increment, limited.
    void StepUp();
    void StepDown();

    // The range limit SetValue applies to value.
    int CheckValue(qint64 value) const;

    QLineEdit* Editor() const { return FEditor; }
    QToolButton* UpButton() const { return FUpButton; }
    QToolButton* DownButton() const { return FDownButton; }

    // Fires at once on every change of the text: typing, the arrows, SetText, SetValue.
    TNotifyEvent OnChange;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Up and Down step the value; true when key was one of them.
    bool StepKey(const QKeyEvent& event);
    void EditorTextChanged();

    QLineEdit* FEditor;
    QToolButton* FUpButton;
    QToolButton* FDownButton;
    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
};
