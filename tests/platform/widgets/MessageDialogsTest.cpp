#include "platform/widgets/MessageDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "DialogHooksGuard.h"
#include "ModalDialogSupport.h"
#include <functional>
#include <initializer_list>
#include <memory>

namespace {

QPushButton* ButtonWithText(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void PressEscape(QWidget& target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
}

// A user's answer to a shown box: the text of the button clicked, or one of these.
const QString Escape = QStringLiteral("<Escape>");
const QString CloseBox = QStringLiteral("<close box>");

void Answer(QDialog& shown, const QString& answer)
{
    if (answer == Escape)
        return PressEscape(shown);
    if (answer == CloseBox) {
        shown.close();
        return;
    }
    QPushButton* button = ButtonWithText(shown, answer);
    ASSERT_NE(button, nullptr);
    button->click();
}

struct TAnswerCase {
    QString Answer;
    bool Result;
};

// Shows a box through show once for each answer and checks what show returns.
void ExpectResults(std::initializer_list<TAnswerCase> cases, const std::function<bool()>& show)
{
    for (const TAnswerCase& c : cases) {
        SCOPED_TRACE(c.Answer.toStdString());
        WhenModalShown([&](QDialog& shown) { Answer(shown, c.Answer); });
        EXPECT_EQ(show(), c.Result);
    }
}

} // namespace

TEST(MessageDialogsTest, EachBoxDescribesItselfToAnswerer)
{
    QList<TMessageRequest> seen;
    const TDialogHooksGuard hooks;
    MessageAnswerer = [&](TMessageRequest& request) {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        seen.append(request);
        return true;
    };
    QString value = "初期値";
    ShowMessageDialog(nullptr, "Vezodev", "Vezodev 0.2\r\n(c)");
    WarningOkCancel(nullptr, "確認", "上書きしますか");
    InputQuery(nullptr, "スタイル追加", "スタイル名", value, 20);
    ShowErrorBox(nullptr, "Vezodev", "エラー");

    struct Case { TMessageKind Kind; QString Caption; QString Text; QStringList Buttons; QString EditText; int MaxLength; };
    const Case cases[] = {
        {mkInformation, "Vezodev", "Vezodev 0.2\r\n(c)", {"OK"}, "", 0},
        {mkWarning, "確認", "上書きしますか", {"OK", "ｷｬﾝｾﾙ"}, "", 0},
        {mkInput, "スタイル追加", "スタイル名", {"OK", "ｷｬﾝｾﾙ"}, "初期値", 20},
        {mkError, "Vezodev", "エラー", {"OK"}, "", 0},
    };
    ASSERT_EQ(seen.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].Kind, cases[i].Kind);
        EXPECT_EQ(seen[i].Caption, cases[i].Caption);
        EXPECT_EQ(seen[i].Text, cases[i].Text);
        EXPECT_EQ(seen[i].Buttons, cases[i].Buttons);
        EXPECT_EQ(seen[i].EditText, cases[i].EditText);
        EXPECT_EQ(seen[i].MaxLength, cases[i].MaxLength);
    }
}

TEST(MessageDialogsTest, InputQueryTakesEnteredTextOnlyOnOk)
{
    struct Case { bool Ok; QString Entered; int MaxLength; bool Result; QString Value; };
    const Case cases[] = {
        {true, "  空白 付き  ", 20, true, "  空白 付き  "},
        {true, "", 20, true, ""},
        {true, "0123456789", 4, true, "0123"},
        {true, "0123456789", 0, true, "0123456789"},
        {false, "変更", 20, false, "元"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entered.toStdString());
        const TDialogHooksGuard hooks;
        MessageAnswerer = [&](TMessageRequest& request) {
            request.EditText = c.Entered;
            return c.Ok;
        };
        QString value = "元";
        EXPECT_EQ(InputQuery(nullptr, "題", "名前", value, c.MaxLength), c.Result);
        EXPECT_EQ(value, c.Value);
    }
}

// A reader announces an alert as a warning: only warnings and errors are alerts, and the
// icon names the kind of message.
TEST(MessageDialogsTest, OnlyWarningsAndErrorsAreAlertsAndTheIconNamesTheKind)
{
    struct Case { TMessageKind Kind; QAccessible::Role Role; const char* Icon; };
    const Case cases[] = {
        {mkInformation, QAccessible::Dialog, "情報"},
        {mkWarning, QAccessible::AlertMessage, "警告"},
        {mkError, QAccessible::AlertMessage, "エラー"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Kind);
        const TMessageRequest request{c.Kind, "Vezodev", "本文", {"OK"}, {}, 0, {}, false};
        std::unique_ptr<QDialog> window(CreateMessageWindow(request, nullptr));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.get());
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), c.Role);
        QStringList images;
        for (int index = 0; index < face->childCount(); ++index)
            if (face->child(index)->role() == QAccessible::Graphic || face->child(index)->role() == QAccessible::StaticText)
                images.append(face->child(index)->text(QAccessible::Name));
        EXPECT_TRUE(images.contains(QString::fromUtf8(c.Icon))) << images.join(u'|').toStdString();
    }
}

TEST(MessageDialogsTest, MessageWindowsCarryIconButtonsDefaultAndEscape)
{
    struct Case { TMessageKind Kind; QStringList Buttons; QMessageBox::Icon Icon; QString Escape; };
    const Case cases[] = {
        {mkInformation, {"OK"}, QMessageBox::Information, "OK"},
        {mkWarning, {"OK", "ｷｬﾝｾﾙ"}, QMessageBox::Warning, "ｷｬﾝｾﾙ"},
        {mkError, {"OK"}, QMessageBox::Critical, "OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Kind);
        const TMessageRequest request{c.Kind, "題", "一行目\r\n二行目 <b>", c.Buttons, {}, 0, {}, false};
        std::unique_ptr<QDialog> window(CreateMessageWindow(request, nullptr));
        auto* box = qobject_cast<QMessageBox*>(window.get());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "題");
        EXPECT_EQ(box->text(), "一行目\n二行目 <b>");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), c.Icon);
        QStringList texts;
        for (QAbstractButton* button : box->buttons())
            texts.append(button->text());
        texts.sort();
        QStringList expected = c.Buttons;
        expected.sort();
        EXPECT_EQ(texts, expected);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), "OK");
        ASSERT_NE(box->escapeButton(), nullptr);
        EXPECT_EQ(box->escapeButton()->text(), c.Escape);
    }
}

TEST(MessageDialogsTest, InputWindowHoldsSelectedTextWithinLimit)
{
    const TMessageRequest request{mkInput, "スタイル追加", "スタイル名", {"OK", "ｷｬﾝｾﾙ"}, "既定のスタイル", 4, {}, false};
    std::unique_ptr<QDialog> window(CreateMessageWindow(request, nullptr));
    auto* edit = window->findChild<QLineEdit*>();
    auto* prompt = window->findChild<QLabel*>();
    ASSERT_TRUE(edit && prompt);
    EXPECT_EQ(window->windowTitle(), "スタイル追加");
    EXPECT_EQ(prompt->text(), "スタイル名");
    EXPECT_EQ(edit->maxLength(), 4);
    EXPECT_EQ(edit->text(), "既定のス");
    EXPECT_EQ(edit->selectedText(), edit->text());
    QPushButton* ok = ButtonWithText(*window, "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_NE(ButtonWithText(*window, "ｷｬﾝｾﾙ"), nullptr);
}

TEST(MessageDialogsTest, WarningIsTrueOnlyForOk)
{
    ExpectResults({{"OK", true}, {"ｷｬﾝｾﾙ", false}, {Escape, false}, {CloseBox, false}},
                  [] { return WarningOkCancel(nullptr, "確認", "続けますか"); });
}

TEST(MessageDialogsTest, InputQueryReturnsTypedTextOnOkAndKeepsValueOnEscape)
{
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        WhenModalShown([&](QDialog& shown) {
            auto* edit = shown.findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            edit->setText(" 新しい名前 ");
            Answer(shown, ok ? QStringLiteral("OK") : Escape);
        });
        QString value = "元の名前";
        EXPECT_EQ(InputQuery(nullptr, "題", "名前", value, 50), ok);
        EXPECT_EQ(value, ok ? " 新しい名前 " : "元の名前");
    }
}

TEST(MessageDialogsTest, MessageWithHelpIsTrueOnlyForItsHelpButton)
{
    ExpectResults({{"ヘルプ", true}, {"OK", false}, {Escape, false}},
                  [] { return ShowMessageWithHelp(nullptr, "Vezodev", "Vezodev 0.2"); });
}
