#include "app/MainFormWiring.h"

#include "app/MainControls.h"
#include "app/MainFormHandlers.h"
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

TMainFormWiring::TMainFormWiring(QWidget& window, TMainControls& controls, TMainFormHandlers& handlers)
    : FWindow(window), FControls(controls), FHandlers(handlers)
{
    WireEvents();
    WireKeyboard();
}

template <typename Sender, typename Signal>
void TMainFormWiring::On(Sender* sender, Signal signal, void (TMainFormHandlers::*handler)())
{
    QWidget* window = &FWindow;
    TMainFormHandlers& handlers = FHandlers;
    connect(sender, signal, window,
            [window, &handlers, handler] { TGuardedApplication::Run(window, [&handlers, handler] { (handlers.*handler)(); }); });
}

TMouseEvent TMainFormWiring::OnMouse(TMouseHandler handler)
{
    QWidget* window = &FWindow;
    TMainFormHandlers& handlers = FHandlers;
    return [window, &handlers, handler](QObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        TGuardedApplication::Run(window, [=, &handlers] { (handlers.*handler)(sender, button, shift, x, y); });
    };
}

// The paint handlers run inside Qt's paint events, where an escaping error reaches the
// application's policy on its own.
void TMainFormWiring::WireEvents()
{
    TMainControls& form = FControls;
    TMainFormHandlers& handlers = FHandlers;
    QWidget* window = &FWindow;
    form.Edit1->installEventFilter(this);
    form.EdHs->OnChange = [window, &handlers](QObject* sender) {
        TGuardedApplication::Run(window, [&handlers, sender] { handlers.EdHsChange(sender); });
    };
    form.EdVs->OnChange = form.EdHs->OnChange;
    const std::pair<TManyBtn*, TMouseHandler> cells[] = {
        {form.MbText, &TMainFormHandlers::MbTextMouseDown}, {form.MbColor, &TMainFormHandlers::MbColorMouseDown},
        {form.MbGra, &TMainFormHandlers::MbGraMouseDown}, {form.MbMix, &TMainFormHandlers::MbMixMouseDown}};
    for (const auto& [button, handler] : cells)
        button->OnMouseDown = OnMouse(handler);
    form.Pbox->OnPaint = [&handlers](QObject*) { handlers.PboxPaint(); };
    form.Gbox->OnPaint = [&handlers](QObject* sender) { handlers.GboxPaint(sender); };
    const std::pair<QAbstractButton*, void (TMainFormHandlers::*)()> buttons[] = {
        {form.SpeedButton3, &TMainFormHandlers::SpeedButton3Click}, {form.BtCopy, &TMainFormHandlers::BtCopyClick},
        {form.BtSave, &TMainFormHandlers::BtSaveClick}};
    for (const auto& [button, handler] : buttons)
        On(button, &QAbstractButton::clicked, handler);
    On(form.Timer1, &QTimer::timeout, &TMainFormHandlers::Timer1Timer);
    On(form.CbStyle, &QComboBox::activated, &TMainFormHandlers::CbStyleChange);
    form.CbStyle->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.CbStyle, &QWidget::customContextMenuRequested, window, [&handlers](const QPoint& at) { handlers.StyleContextMenu(at); });
    const std::pair<QAction*, void (TMainFormHandlers::*)()> actions[] = {
        {form.MmAdd, &TMainFormHandlers::MmAddClick}, {form.MmDel, &TMainFormHandlers::MmDelClick}, {form.MmCopy, &TMainFormHandlers::BtCopyClick},
        {form.MmSave, &TMainFormHandlers::BtSaveClick}, {form.MmSmooth, &TMainFormHandlers::MmSmoothClick},
        {form.MmEffects, &TMainFormHandlers::MmEffectsClick}, {form.MmGallery, &TMainFormHandlers::MmGalleryClick}};
    for (const auto& [action, handler] : actions)
        On(action, &QAction::triggered, handler);
    form.Img->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.Img, &QWidget::customContextMenuRequested, window, [&handlers](const QPoint& at) { handlers.ImgContextMenu(at); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    connect(help, &QShortcut::activated, window,
            [window] { TGuardedApplication::Run(window, [] { TApplication::Instance().HelpContext(1); }); });
}

// The Tab chain follows the screen, top to bottom and left to right, and ends on the
// finished logo, whose menu Shift+F10 or the menu key opens and whose panes Home and End
// scroll to their ends; Shift+F10 opens the style list's menu too. Ctrl+C and Ctrl+S copy and
// save the logo, except in a text field, which keeps Ctrl+C for its text.
void TMainFormWiring::WireKeyboard()
{
    TMainControls& form = FControls;
    const std::vector<QWidget*> chain{form.Edit1, form.MbText, form.EdHs, form.EdVs, form.CbStyle, form.MbMix,
                                      form.MbGra, form.MbColor, form.SpeedButton3, form.BtCopy, form.BtSave, form.Img};
    for (std::size_t next = 1; next < chain.size(); ++next)
        QWidget::setTabOrder(chain[next - 1], chain[next]);
    form.Img->setFocusPolicy(Qt::TabFocus);
    form.Img->installEventFilter(this);
    form.CbStyle->installEventFilter(this);
    form.MmCopy->setShortcut(QKeySequence::Copy);
    form.MmSave->setShortcut(QKeySequence::Save);
    FWindow.addAction(form.MmCopy);
    FWindow.addAction(form.MmSave);
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
        FHandlers.ImgContextMenu(FControls.Img->rect().center());
    }, Qt::QueuedConnection);
}

bool TMainFormWiring::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FControls.Img && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        OpenImgMenuFromKeyboard();
        return true;
    }
    if (watched == FControls.Img && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            OpenImgMenuFromKeyboard();
            return true;
        }
        if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
            FHandlers.ScrollPanes(key->key() == Qt::Key_Home ? ceStart : ceEnd);
            return true;
        }
    }
    // The menu key reaches the list as a context menu event of its own; Shift+F10 does not.
    if (watched == FControls.CbStyle && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            FHandlers.StyleContextMenu(FControls.CbStyle->rect().center());
            return true;
        }
    }
    if (watched == FControls.Edit1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            char16_t character = 13;
            TGuardedApplication::Run(&FWindow, [this, &character] { FHandlers.Edit1KeyPress(character); });
            return character == 0;
        }
    }
    return QObject::eventFilter(watched, event);
}
