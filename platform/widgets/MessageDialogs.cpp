#include "platform/widgets/MessageDialogs.h"

#include "platform/widgets/Tr.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

TMessageAnswerer MessageAnswerer;

namespace {

const QString OkText = QStringLiteral("OK");

QString CancelText()
{
    return Tr("ｷｬﾝｾﾙ");
}

QMessageBox::Icon IconOf(TMessageKind kind)
{
    switch (kind) {
    case mkWarning:
        return QMessageBox::Warning;
    case mkError:
        return QMessageBox::Critical;
    case mkInformation:
    case mkInput:
        break;
    }
    return QMessageBox::Information;
}

// What a listener hears of a box's icon: the kind of message.
QString IconName(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Warning:
        return Tr("警告");
    case QMessageBox::Critical:
        return Tr("エラー");
    default:
        return Tr("情報");
    }
}

// Qt presents every message box as an alert, which a reader announces as a warning; a box
// that only informs, as the about box does, is an ordinary dialog.
QAccessibleInterface* InformationBoxAccessible(const QString& className, QObject* object)
{
    auto* box = qobject_cast<QMessageBox*>(object);
    if (className != QLatin1String("QMessageBox") || !box || box->icon() != QMessageBox::Information)
        return nullptr;
    return new QAccessibleWidget(box, QAccessible::Dialog);
}

// Messages are written with CR LF line ends; a label breaks lines at LF alone.
QString LabelText(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

QMessageBox* CreateMessageBox(const TMessageRequest& request, QWidget* owner)
{
    auto* box = new QMessageBox(IconOf(request.Kind), request.Caption, LabelText(request.Text), QMessageBox::NoButton, owner);
    box->setTextFormat(Qt::PlainText);
    static const bool installed = [] {
        QAccessible::installFactory(&InformationBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    if (auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        icon->setAccessibleName(IconName(box->icon()));
    QPushButton* ok = box->addButton(request.Buttons.value(0, OkText), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    // With one button, Escape and closing the box press it; with two, the second.
    QPushButton* escape = ok;
    if (request.Buttons.size() > 1)
        escape = box->addButton(request.Buttons[1], QMessageBox::RejectRole);
    box->setEscapeButton(escape);
    if (!request.HelpButton.isEmpty())
        box->addButton(request.HelpButton, QMessageBox::HelpRole);
    return box;
}

QDialog* CreateInputBox(const TMessageRequest& request, QWidget* owner)
{
    auto* dialog = new QDialog(owner);
    dialog->setWindowTitle(request.Caption);

    auto* prompt = new QLabel(LabelText(request.Text), dialog);
    prompt->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(dialog);
    if (request.MaxLength > 0)
        edit->setMaxLength(request.MaxLength);
    edit->setText(request.EditText);
    edit->selectAll();
    edit->setMinimumWidth(240);
    prompt->setBuddy(edit);

    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(request.Buttons.value(0, OkText), QDialogButtonBox::AcceptRole);
    buttons->addButton(request.Buttons.value(1, CancelText()), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edit->setFocus();
    return dialog;
}

// Shows request's window modally, or asks MessageAnswerer; true for OK.
bool Ask(TMessageRequest& request, QWidget* owner)
{
    if (MessageAnswerer)
        return MessageAnswerer(request);
    std::unique_ptr<QDialog> window(CreateMessageWindow(request, owner));
    window->exec();
    if (auto* box = qobject_cast<QMessageBox*>(window.get())) {
        const QMessageBox::ButtonRole role = box->clickedButton() ? box->buttonRole(box->clickedButton()) : QMessageBox::InvalidRole;
        request.HelpChosen = role == QMessageBox::HelpRole;
        return role == QMessageBox::AcceptRole;
    }
    if (window->result() != QDialog::Accepted)
        return false;
    request.EditText = window->findChild<QLineEdit*>()->text();
    return true;
}

} // namespace

QDialog* CreateMessageWindow(const TMessageRequest& request, QWidget* owner)
{
    if (request.Kind == mkInput)
        return CreateInputBox(request, owner);
    return CreateMessageBox(request, owner);
}

void ShowMessageDialog(QWidget* owner, const QString& caption, const QString& text)
{
    TMessageRequest request{mkInformation, caption, text, {OkText}, {}, 0, {}, false};
    Ask(request, owner);
}

bool ShowMessageWithHelp(QWidget* owner, const QString& caption, const QString& text)
{
    TMessageRequest request{mkInformation, caption, text, {OkText}, {}, 0, {}, false};
    request.HelpButton = Tr("ヘルプ");
    Ask(request, owner);
    return request.HelpChosen;
}

bool WarningOkCancel(QWidget* owner, const QString& caption, const QString& text)
{
    TMessageRequest request{mkWarning, caption, text, {OkText, CancelText()}, {}, 0, {}, false};
    return Ask(request, owner);
}

bool InputQuery(QWidget* owner, const QString& caption, const QString& prompt, QString& value, int maxLength)
{
    TMessageRequest request{mkInput, caption, prompt, {OkText, CancelText()}, value, maxLength, {}, false};
    if (!Ask(request, owner))
        return false;
    // An answerer stands in for the user, who cannot type past the edit's limit.
    value = maxLength > 0 ? request.EditText.left(maxLength) : request.EditText;
    return true;
}

void ShowErrorBox(QWidget* owner, const QString& caption, const QString& text)
{
    TMessageRequest request{mkError, caption, text, {OkText}, {}, 0, {}, false};
    Ask(request, owner);
}
