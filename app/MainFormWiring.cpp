#include "app/MainFormWiring.h"

#include "app/Form1.h"
#include "app/PaneLayout.h"
#include "components/widgets/GradBox.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GuardedApplication.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <utility>
#include <vector>

TMainFormWiring::TMainFormWiring(TForm1& form) : FForm(form)
{
    WireEvents();
    WireKeyboard();
}

template <typename Sender, typename Signal>
void TMainFormWiring::On(Sender* sender, Signal signal, void (TForm1::*handler)())
{
    TForm1& form = FForm;
    connect(sender, signal, &form, [&form, handler] { TGuardedApplication::Run(&form, [&form, handler] { (form.*handler)(); }); });
}

TMouseEvent TMainFormWiring::OnMouse(TMouseHandler handler)
{
    TForm1& form = FForm;
    return [&form, handler](QObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        TGuardedApplication::Run(&form, [=, &form] { (form.*handler)(sender, button, shift, x, y); });
    };
}

// The paint handlers run inside Qt's paint events, where an escaping error reaches the
// application's policy on its own.
void TMainFormWiring::WireEvents()
{
    TForm1& form = FForm;
    form.Edit1->installEventFilter(this);
    form.EdHs->OnChange = [&form](QObject* sender) { TGuardedApplication::Run(&form, [&form, sender] { form.EdHsChange(sender); }); };
    form.EdVs->OnChange = form.EdHs->OnChange;
    const std::pair<TManyBtn*, TMouseHandler> cells[] = {
        {form.MbText, &TForm1::MbTextMouseDown}, {form.MbColor, &TForm1::MbColorMouseDown},
        {form.MbGra, &TForm1::MbGraMouseDown}, {form.MbMix, &TForm1::MbMixMouseDown}};
    for (const auto& [button, handler] : cells)
        button->OnMouseDown = OnMouse(handler);
    form.Pbox->OnPaint = [&form](QObject*) { form.PboxPaint(); };
    form.Gbox->OnPaint = [&form](QObject* sender) { form.GboxPaint(sender); };
    const std::pair<QAbstractButton*, void (TForm1::*)()> buttons[] = {
        {form.SpeedButton3, &TForm1::SpeedButton3Click}, {form.BtCopy, &TForm1::BtCopyClick},
        {form.BtSave, &TForm1::BtSaveClick}};
    for (const auto& [button, handler] : buttons)
        On(button, &QAbstractButton::clicked, handler);
    On(form.Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
    On(form.CbStyle, &QComboBox::activated, &TForm1::CbStyleChange);
    form.CbStyle->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.CbStyle, &QWidget::customContextMenuRequested, &form, [&form](const QPoint& at) { form.StyleContextMenu(at); });
    const std::pair<QAction*, void (TForm1::*)()> actions[] = {
        {form.MmAdd, &TForm1::MmAddClick}, {form.MmDel, &TForm1::MmDelClick}, {form.MmCopy, &TForm1::BtCopyClick},
        {form.MmSave, &TForm1::BtSaveClick}, {form.MmSmooth, &TForm1::MmSmoothClick},
        {form.MmEffects, &TForm1::MmEffectsClick}, {form.MmGallery, &TForm1::MmGalleryClick}};
    for (const auto& [action, handler] : actions)
        On(action, &QAction::triggered, handler);
    form.Img->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.Img, &QWidget::customContextMenuRequested, &form, [&form](const QPoint& at) { form.ImgContextMenu(at); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &form);
    connect(help, &QShortcut::activated, &form,
            [&form] { TGuardedApplication::Run(&form, [] { TApplication::Instance().HelpContext(1); }); });
}

// The Tab chain follows the screen, top to bottom and left to right, and ends on the
// finished logo, whose menu Shift+F10 or the menu key opens and whose panes Home and End
// scroll to their ends; Shift+F10 opens the style list's menu too. Ctrl+C and Ctrl+S copy and
// save the logo, except in a text field, which keeps Ctrl+C for its text.
void TMainFormWiring::WireKeyboard()
{
    TForm1& form = FForm;
    const std::vector<QWidget*> chain{form.Edit1, form.MbText, form.EdHs, form.EdVs, form.CbStyle, form.MbMix,
                                      form.MbGra, form.MbColor, form.SpeedButton3, form.BtCopy, form.BtSave, form.Img};
    for (std::size_t next = 1; next < chain.size(); ++next)
        QWidget::setTabOrder(chain[next - 1], chain[next]);
    form.Img->setFocusPolicy(Qt::TabFocus);
    form.Img->installEventFilter(this);
    form.CbStyle->installEventFilter(this);
    form.MmCopy->setShortcut(QKeySequence::Copy);
    form.MmSave->setShortcut(QKeySequence::Save);
    form.addAction(form.MmCopy);
    form.addAction(form.MmSave);
}

// The keyboard's request for the logo's menu may come twice, as a key and as the context
// menu event that some platforms make of it: the menu opens once, at the logo's centre.
void TMainFormWiring::OpenImgMenuFromKeyboard()
{
    if (FImgMenuQueued)
        return;
    FImgMenuQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        FImgMenuQueued = false;
        FForm.ImgContextMenu(FForm.Img->rect().center());
    }, Qt::QueuedConnection);
}

bool TMainFormWiring::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FForm.Img && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        OpenImgMenuFromKeyboard();
        return true;
    }
    if (watched == FForm.Img && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            OpenImgMenuFromKeyboard();
            return true;
        }
        if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
            FForm.ScrollPanes(key->key() == Qt::Key_Home ? ceStart : ceEnd);
            return true;
        }
    }
    // The menu key reaches the list as a context menu event of its own; Shift+F10 does not.
    if (watched == FForm.CbStyle && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            FForm.StyleContextMenu(FForm.CbStyle->rect().center());
            return true;
        }
    }
    if (watched == FForm.Edit1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            char16_t character = 13;
            TGuardedApplication::Run(&FForm, [this, &character] { FForm.Edit1KeyPress(character); });
            return character == 0;
        }
    }
    return QObject::eventFilter(watched, event);
}
