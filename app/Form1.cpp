#include "app/Form1.h"

#include "app/AccessibleNames.h"
#include "app/EffectsDialog.h"
#include "app/Glyphs.h"
#include "app/SettingsLocation.h"
#include "app/WindowPlacement.h"
#include "composer/LogoSmoother.h"
#include "composer/SettingsKeys.h"
#include "app/StyleGallery.h"
#include "composer/StoredParams.h"
#include "components/widgets/GradBox.h"
#include "components/settings/IniGT.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Application.h"
#include "platform/raster/AtomicFile.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/raster/BmpEncoder.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/raster/Exception.h"
#include "platform/widgets/FormLoader.h"
#include "platform/widgets/Image.h"
#include "platform/raster/IntegerSyntax.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/PaintBox.h"
#include "platform/raster/PngEncoder.h"
#include "platform/widgets/QtColor.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <vector>

// The form lives in a resource of this static library, which must be registered by hand.
static void InitFormResource()
{
    Q_INIT_RESOURCE(MainForm);
}

namespace {

const QString Version = QStringLiteral("Vezodev " VEZODEV_VERSION);
// The font of the window and of its controls.
const QString UiFontName = QString::fromUtf8("ＭＳ Ｐゴシック");

void RegisterFormClasses()
{
    RegisterManyBtn();
    TFormLoader::RegisterClass(QStringLiteral("TGradBox"), [](QWidget* parent) { return new TGradBox(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TLabel"), [](QWidget* parent) { return new TLabel(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TSpinEdit"), [](QWidget* parent) { return new TSpinEdit(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TPaintBox"), [](QWidget* parent) { return new TPaintBox(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TImage"), [](QWidget* parent) { return new TImage(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TBevel"), [](QWidget* parent) { return new TBevel(parent); });
}

// The classic grey desktop the window was drawn for, from the system colours.
QPalette ClassicPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, ToQColor(clBtnFace));
    palette.setColor(QPalette::Button, ToQColor(clBtnFace));
    palette.setColor(QPalette::Base, ToQColor(clWindow));
    palette.setColor(QPalette::WindowText, ToQColor(clWindowText));
    palette.setColor(QPalette::ButtonText, ToQColor(clBtnText));
    palette.setColor(QPalette::Text, ToQColor(clWindowText));
    palette.setColor(QPalette::Highlight, ToQColor(clHighlight));
    palette.setColor(QPalette::HighlightedText, ToQColor(clHighlightText));
    palette.setColor(QPalette::ToolTipBase, ToQColor(clInfoBk));
    palette.setColor(QPalette::ToolTipText, ToQColor(clInfoText));
    palette.setColor(QPalette::Light, ToQColor(clBtnHighlight));
    palette.setColor(QPalette::Dark, ToQColor(clBtnShadow));
    palette.setColor(QPalette::Mid, ToQColor(clBtnShadow));
    return palette;
}

} // namespace

void TForm1::InitializeApplication()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QApplication::setPalette(ClassicPalette());
    QApplication::setApplicationName(QStringLiteral("Vezodev"));
    TApplication::Instance().SetTitle(QStringLiteral("Vezodev"));
    TFont& controlFont = TGraphicControl::DefaultFont();
    controlFont.SetName(UiFontName);
    controlFont.SetHeight(-12);
    controlFont.SetCharset(SHIFTJIS_CHARSET);
}

TForm1::TForm1(QWidget* parent, const QString& programFile)
    : QWidget(parent), FProgramFile(programFile.isEmpty() ? TApplication::ExeName() : programFile)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    // A window of a fixed size offers no maximise and no full screen.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    LoadForm();
    BindControls();
    MakePaneColumn();
    ShowDesignValues();
    CreateComponents();
    WireEvents();
    WireKeyboard();
    TAccessibleNames::Apply(*this);
    Guard([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

template <typename T>
T* TForm1::Find(const char* name) const
{
    T* control = FClient->findChild<T*>(QString::fromLatin1(name));
    if (!control)
        throw Exception(QStringLiteral("The window's form has no control %1.").arg(QString::fromLatin1(name)));
    return control;
}

void TForm1::LoadForm()
{
    InitFormResource();
    RegisterFormClasses();
    QFont windowFont(UiFontName);
    windowFont.setPixelSize(12);
    setFont(windowFont);
    QFile form(QStringLiteral(":/forms/MainForm.ui"));
    if (!form.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The window's form is missing from the program."));
    TFormLoader loader;
    FClient = loader.Load(form, this);
    if (!FClient)
        throw Exception(loader.ErrorString());
    FClient->move(0, 0);
}

void TForm1::BindControls()
{
    GroupBox1 = Find<QGroupBox>("GroupBox1");
    Edit1 = Find<QLineEdit>("Edit1");
    MbText = Find<TManyBtn>("MbText");
    GroupBox2 = Find<QGroupBox>("GroupBox2");
    Label5 = Find<TLabel>("Label5");
    EdHs = Find<TSpinEdit>("EdHs");
    Label4 = Find<TLabel>("Label4");
    EdVs = Find<TSpinEdit>("EdVs");
    GroupBox3 = Find<QGroupBox>("GroupBox3");
    CbStyle = Find<QComboBox>("CbStyle");
    GroupBox4 = Find<QGroupBox>("GroupBox4");
    Label3 = Find<TLabel>("Label3");
    MbMix = Find<TManyBtn>("MbMix");
    Label6 = Find<TLabel>("Label6");
    MbGra = Find<TManyBtn>("MbGra");
    Label2 = Find<TLabel>("Label2");
    LbTopC = Find<TLabel>("LbTopC");
    LbLastC = Find<TLabel>("LbLastC");
    MbColor = Find<TManyBtn>("MbColor");
    SpeedButton3 = Find<QToolButton>("SpeedButton3");
    BtCopy = Find<QPushButton>("BtCopy");
    BtSave = Find<QPushButton>("BtSave");
    Bv = Find<TBevel>("Bv");
    Pbox = Find<TPaintBox>("Pbox");
    Gbox = Find<TGradBox>("Gbox");
    Img = Find<TImage>("Img");
    Label1 = Find<TLabel>("Label1");
    FStyleItems = std::make_unique<TComboBoxStrings>(CbStyle);
}

// The panes stand in a column of their own right of the bevel, which scrolls when the
// logo is larger than the window's screen allows. Each pane shows a logo pixel as whole
// device pixels, whatever the screen's scale.
void TForm1::MakePaneColumn()
{
    const int left = Pbox->Left();
    FPaneScroll = new QScrollArea(FClient);
    FPaneScroll->setObjectName(QStringLiteral("PaneScroll"));
    FPaneScroll->setFrameShape(QFrame::NoFrame);
    FPaneScroll->setFocusPolicy(Qt::NoFocus);
    FPanes = new QWidget;
    FPanes->setObjectName(QStringLiteral("Panes"));
    for (TGraphicControl* pane : std::initializer_list<TGraphicControl*>{Pbox, Gbox, Img}) {
        const QRect bounds = pane->geometry();
        pane->setParent(FPanes);
        pane->SetBounds(bounds.left() - left, bounds.top(), bounds.width(), bounds.height());
        pane->SetScreenScaling(TGraphicControl::ssPixelExact);
        pane->show();
    }
    FPaneScroll->setWidget(FPanes);
    FPaneScroll->setGeometry(left, 0, FClient->width() - left, FClient->height());
}

// The logo's design values are the composer's defaults, which the renderer and a missing
// settings file start from too; the label keeps the window's character set, as a form
// that does not store one leaves it.
void TForm1::ShowDesignValues()
{
    const TLogoParams design = TLogoParams::Defaults();
    Edit1->setText(design.Text);
    Label1->SetCaption(design.Text);
    TFont font = design.Font;
    font.SetCharset(Label1->Font().Charset());
    Label1->Font().Assign(font);
    for (TSpinEdit* margin : {EdHs, EdVs}) {
        margin->SetMinValue(0);
        margin->SetMaxValue(TLogoParams::MaxSpace);
    }
    EdHs->SetValue(design.HSpace);
    EdVs->SetValue(design.VSpace);
}

void TForm1::CreateComponents()
{
    ClDlg = std::make_unique<TColorDialog>();
    FntDlg = std::make_unique<TFontDialog>();
    SaveDlg = std::make_unique<TSaveDialog>();
    SaveDlg->SetFilter(QString::fromUtf8("BMP ファイル|*.bmp|PNG ファイル|*.png|PNG ファイル 透明な背景|*.png"));
    IniGT = new TIniGT(this, FProgramFile);
    IniGT->SetDefaultDir(ddApplication);
    IniGT->SetFence(fnNone);
    IniGT->Loaded();
    const QString userFile =
        TSettingsLocation::PrepareUserFile(FProgramFile, IniGT->FileName());
    if (!userFile.isEmpty())
        IniGT->SetFileName(userFile);
    Pm = new QMenu(this);
    MmAdd = Pm->addAction(QString::fromUtf8("スタイル追加"));
    N1 = Pm->addSeparator();
    MmDel = Pm->addAction(QString::fromUtf8("削除"));
    MmGallery = new QAction(QString::fromUtf8("スタイル一覧…"), this);
    Pm->addSeparator();
    Pm->addAction(MmGallery);
    ImgMenu = new QMenu(this);
    MmCopy = ImgMenu->addAction(QString::fromUtf8("コピー"));
    MmSave = ImgMenu->addAction(QString::fromUtf8("名前を付けて保存…"));
    ImgMenu->addSeparator();
    MmSmooth = ImgMenu->addAction(QString::fromUtf8("なめらかな縁"));
    MmSmooth->setCheckable(true);
    MmEffects = ImgMenu->addAction(QString::fromUtf8("効果…"));
    ImgMenu->addSeparator();
    ImgMenu->addAction(MmGallery);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    SpeedButton3->setIcon(QIcon(AboutGlyph()));
    BtCopy->setIcon(QIcon(CopyGlyph()));
    BtSave->setIcon(QIcon(SaveGlyph()));
}

void TForm1::WireEvents()
{
    Edit1->installEventFilter(this);
    EdHs->OnChange = [this](QObject* sender) { Guard([=, this] { EdHsChange(sender); }); };
    EdVs->OnChange = EdHs->OnChange;
    auto mouse = [this](void (TForm1::*handler)(QObject*, TMouseButton, TShiftState, int, int)) {
        return [this, handler](QObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            Guard([=, this] { (this->*handler)(sender, button, shift, x, y); });
        };
    };
    MbText->OnMouseDown = mouse(&TForm1::MbTextMouseDown);
    MbColor->OnMouseDown = mouse(&TForm1::MbColorMouseDown);
    MbGra->OnMouseDown = mouse(&TForm1::MbGraMouseDown);
    MbMix->OnMouseDown = mouse(&TForm1::MbMixMouseDown);
    Pbox->OnPaint = [this](QObject*) { PboxPaint(); };
    Gbox->OnPaint = [this](QObject* sender) { GboxPaint(sender); };
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { Guard([this] { SpeedButton3Click(); }); });
    connect(BtCopy, &QPushButton::clicked, this, [this] { Guard([this] { BtCopyClick(); }); });
    connect(BtSave, &QPushButton::clicked, this, [this] { Guard([this] { BtSaveClick(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { Guard([this] { Timer1Timer(); }); });
    connect(CbStyle, &QComboBox::activated, this, [this] { Guard([this] { CbStyleChange(); }); });
    CbStyle->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CbStyle, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        Guard([this] { PmPopup(); });
        Pm->exec(CbStyle->mapToGlobal(at));
    });
    connect(MmAdd, &QAction::triggered, this, [this] { Guard([this] { MmAddClick(); }); });
    connect(MmDel, &QAction::triggered, this, [this] { Guard([this] { MmDelClick(); }); });
    connect(MmCopy, &QAction::triggered, this, [this] { Guard([this] { BtCopyClick(); }); });
    connect(MmSave, &QAction::triggered, this, [this] { Guard([this] { BtSaveClick(); }); });
    connect(MmSmooth, &QAction::triggered, this, [this] { Guard([this] { MmSmoothClick(); }); });
    connect(MmEffects, &QAction::triggered, this, [this] { Guard([this] { MmEffectsClick(); }); });
    connect(MmGallery, &QAction::triggered, this, [this] { Guard([this] { MmGalleryClick(); }); });
    Img->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Img, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { ImgContextMenu(at); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { Guard([] { TApplication::Instance().HelpContext(1); }); });
}

// The Tab chain follows the screen, top to bottom and left to right, and ends on the
// finished logo, whose menu Shift+F10 or the menu key opens. Ctrl+C and Ctrl+S copy and
// save the logo, except in a text field, which keeps Ctrl+C for its text.
void TForm1::WireKeyboard()
{
    const std::vector<QWidget*> chain{Edit1, MbText, EdHs, EdVs, CbStyle, MbMix, MbGra, MbColor,
                                      SpeedButton3, BtCopy, BtSave, Img};
    for (std::size_t next = 1; next < chain.size(); ++next)
        setTabOrder(chain[next - 1], chain[next]);
    Img->setFocusPolicy(Qt::TabFocus);
    Img->installEventFilter(this);
    MmCopy->setShortcut(QKeySequence::Copy);
    MmSave->setShortcut(QKeySequence::Save);
    addAction(MmCopy);
    addAction(MmSave);
}

// The keyboard's request for the logo's menu may come twice, as a key and as the context
// menu event that some platforms make of it: the menu opens once, at the logo's centre.
void TForm1::OpenImgMenuFromKeyboard()
{
    if (FImgMenuQueued)
        return;
    FImgMenuQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        FImgMenuQueued = false;
        ImgContextMenu(Img->rect().center());
    }, Qt::QueuedConnection);
}

void TForm1::Guard(const std::function<void()>& handler)
{
    TApplication::Instance().Guard(this, handler);
}

// Start: the caption, the help file, the last saved file name (errors ignored), the
// last parameters and the window's position. An error skips the steps after it.
void TForm1::FormCreate()
{
    setWindowTitle(Version);
    const QString folder = QFileInfo(FProgramFile).absolutePath();
    TApplication::Instance().SetHelpFile(folder + QStringLiteral("/vezodev.hlp"));
    // The reads share one reading of the file; the update writes nothing.
    TIniGT::TUpdate snapshot(*IniGT);
    try {
        SaveDlg->SetFileName(IniGT->ReadString(TSettingsKeys::SaveFileSection, TSettingsKeys::SaveFile, QString()));
    } catch (const std::exception&) {
    }
    LoadParams(TSettingsKeys::LastParams);
    RestorePosition();
    FFirstPaint = true;
}

void TForm1::FormPaint()
{
    if (!FFirstPaint)
        return;
    FFirstPaint = false;
    // The first paint builds the logo once: a second build, as the old window made, would
    // find the sizes this one sets and make the same layers from the same parameters.
    PboxPaint();
}

// The parameters, the style list and the position reach the file together or not at all.
void TForm1::FormClose()
{
    TIniGT::TUpdate update(*IniGT);
    SaveParams(TSettingsKeys::LastParams);
    // A Wayland window cannot know where it stands: the position stored by another
    // session stays as it was.
    if (TWindowPlacement::PlatformKnowsPositions())
        IniGT->WritePosition(TSettingsKeys::BoundsSection, TSettingsKeys::WindowSize, *this);
    update.Commit();
}

void TForm1::RestorePosition()
{
    if (TWindowPlacement::PlatformKnowsPositions())
        IniGT->ReadPosition(TSettingsKeys::BoundsSection, TSettingsKeys::WindowSize, *this);
}

void TForm1::KeepOnScreen()
{
    if (!TWindowPlacement::PlatformKnowsPositions())
        return;
    const QMargins frame = FrameMargins();
    const QRect outer = geometry().marginsAdded(frame);
    const QPoint corner = TWindowPlacement::VisiblePosition(outer, frame.top(), TWindowPlacement::AvailableScreens());
    if (corner == outer.topLeft())
        return;
    // A move places the frame; where the platform placed the client area instead, a
    // second move makes up the difference.
    move(corner);
    const QPoint landed = frameGeometry().topLeft();
    if (landed != corner)
        move(pos() + corner - landed);
}

// The window's frame, or a common one before the window system has made it.
QMargins TForm1::FrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (frame == client)
        return TWindowPlacement::NominalFrame();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

QSize TForm1::LimitedClientSize(const QSize& wanted) const
{
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return wanted;
    const QMargins frame = FrameMargins();
    return TWindowPlacement::LimitedClientSize(wanted, shown->availableGeometry().size(),
                                               QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    // The first showing builds the logo before the window appears, so it opens at the
    // logo's size; without a finished start-up the preview builds it once.
    if (FFirstPaint)
        Guard([this] { FormPaint(); });
    else
        Guard([this] { PboxPaint(); });
    KeepOnScreen();
}

// The user can always quit: when the settings cannot be written the error is shown and
// the window closes all the same.
void TForm1::closeEvent(QCloseEvent* event)
{
    Guard([this] { FormClose(); });
    event->accept();
}

// A compositor may impose a state the window does not offer (maximised, full screen);
// the window then takes the size it is given, and its own size again when it leaves it.
void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        SetClientSize(FClient->width(), FClient->height());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Img && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        OpenImgMenuFromKeyboard();
        return true;
    }
    if (watched == Img && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            OpenImgMenuFromKeyboard();
            return true;
        }
    }
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            char16_t character = 13;
            Guard([&] { Edit1KeyPress(character); });
            return character == 0;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::Edit1KeyPress(char16_t& key)
{
    if (key != 13)
        return;
    key = 0;
    PboxPaint();
}

// Shared by both margin fields: a text that reads as 0 (also an empty or unreadable
// one) becomes "0", then the logo is rebuilt.
void TForm1::EdHsChange(QObject* sender)
{
    auto* edit = qobject_cast<TSpinEdit*>(sender);
    if (edit && edit->Value() == 0)
        edit->SetValue(0);
    PboxPaint();
}

void TForm1::MbTextMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (MbText->SelectedCell() == 1) {
        FntDlg->Font().Assign(Label1->Font());
        if (FntDlg->Execute(this)) {
            Label1->Font().Assign(FntDlg->Font());
            Label1->Font().SetCharset(DEFAULT_CHARSET);
        }
    } else if (MbText->SelectedCell() == 2) {
        ClDlg->SetColor(FBgColor);
        if (ClDlg->Execute(this))
            FBgColor = ClDlg->Color();
    }
    PboxPaint();
}

void TForm1::MbColorMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (MbColor->SelectedCell() == 1) {
        ClDlg->SetColor(Gbox->TopColor());
        if (ClDlg->Execute(this))
            Gbox->SetTopColor(ClDlg->Color());
    } else if (MbColor->SelectedCell() == 2) {
        ClDlg->SetColor(Gbox->LastColor());
        if (ClDlg->Execute(this))
            Gbox->SetLastColor(ClDlg->Color());
    }
    Gbox->Repaint();
    PboxPaint();
}

void TForm1::MbGraMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    Gbox->SetGradStyle(TLogoComposer::GradStyleOf(TLogoComposer::GraTypeOf(MbGra->SelectedCell(), gtTopBottom)));
    Gbox->Repaint();
    PboxPaint();
}

void TForm1::MbMixMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    PboxPaint();
}

QString TForm1::AboutText()
{
    return QStringList{Version, QStringLiteral("Copyright (C) 2026 The Vezodev developers"), QString(),
                       QStringLiteral("vezodev@example.org"), QStringLiteral("https://vezodev.example.org/")}
        .join(QStringLiteral("\r\n"));
}

void TForm1::SpeedButton3Click()
{
    if (ShowMessageWithHelp(this, TApplication::Instance().Title(), AboutText()))
        TApplication::Instance().HelpContext(1);
}

TLogoParams TForm1::CurrentParams() const
{
    TLogoParams params;
    params.Text = Edit1->text();
    params.Font = Label1->Font();
    params.BgColor = FBgColor;
    params.TopColor = Gbox->TopColor();
    params.LastColor = Gbox->LastColor();
    params.GraType = TLogoComposer::GraTypeOf(MbGra->SelectedCell(), gtTopBottom);
    params.MixType = TLogoComposer::MixTypeOf(MbMix->SelectedCell(), mtSrcErase);
    params.HSpace = StrToIntDef(EdHs->Text(), 0);
    params.VSpace = StrToIntDef(EdVs->Text(), 0);
    params.Smooth = FSmooth;
    params.Effects = FEffects;
    return params;
}

QString TForm1::SizeCaption(int width, int height)
{
    return Version + QStringLiteral(" (Size: ") + QString::number(width) + QStringLiteral(" x ")
        + QString::number(height) + QLatin1Char(')');
}

// Builds the logo: the composer makes its three layers from the controls' parameters,
// the preview shows the text layer, the window is captioned with the logo's size, the
// gradient box (which paints the gradient layer's pixels itself) is sized to match, and
// Button1Click shows the composite. A logo too large to make is refused before anything
// changes, so the last good logo stays.
// It is also the preview's paint handler, and widgets must not be moved or made while
// Qt paints: there it queues one build to run just after the paint, and further paints
// before that build runs queue nothing more.
void TForm1::PboxPaint()
{
    if (Pbox->Painting()) {
        if (!FBuildQueued) {
            FBuildQueued = true;
            QMetaObject::invokeMethod(this, [this] {
                FBuildQueued = false;
                Guard([this] { PboxPaint(); });
            }, Qt::QueuedConnection);
        }
        return;
    }
    const TLogoParams params = CurrentParams();
    const TSize size = TLogoComposer::LogoSize(params);
    TLogoComposer::CheckLogoSize(size);
    TLogoComposer::Compose(params, FLayers);
    FLayersParams = params;
    Pbox->SetBounds(Pbox->Left(), Pbox->Top(), std::max(size.Width, 0), std::max(size.Height, 0));
    ShowLayer(FLayers.Text, Pbox->Canvas());
    setWindowTitle(SizeCaption(size.Width, size.Height));
    Gbox->SetBounds(Gbox->Left(), Pbox->Top() + Pbox->Height() + 8, Pbox->Width(), Pbox->Height());
    Gbox->Repaint();
    Button1Click();
    if (FGallery)
        FGallery->SetBase(params);
}

// Shows the composite of the last build in the image pane below the gradient box and
// sizes the window to hold the three panes and the controls. The pane is kept from build
// to build, so whatever watches it (a screen reader, the focus) keeps it too.
void TForm1::Button1Click()
{
    Img->SetBounds(Gbox->Left(), Gbox->Top() + Gbox->Height() + 8, Pbox->Width(), Pbox->Height());
    Img->show();
    const QSize panes(Gbox->Left() + Gbox->Width() + 4, Img->Top() + Img->Height() + 4);
    FPanes->resize(panes);
    const QSize wanted(FPaneScroll->x() + panes.width(), std::max(BtSave->y() + BtSave->height() + 4, panes.height()));
    const QSize client = LimitedClientSize(wanted);
    SetClientSize(client.width(), client.height());
    FPaneScroll->setGeometry(FPaneScroll->x(), 0, client.width() - FPaneScroll->x(), client.height());
    Bv->SetHeight(client.height());
    ShowLayer(FLayers.Composite, Img->Canvas());
    emit LogoShown();
}

void TForm1::ShowLayer(const TBitmap& layer, TCanvas& pane)
{
    const TRect whole = Rect(0, 0, layer.Width(), layer.Height());
    pane.SetCopyMode(cmSrcCopy);
    pane.CopyRect(whole, layer.Canvas(), whole);
}

void TForm1::ImgContextMenu(const QPoint& at)
{
    MmSmooth->setChecked(FSmooth != 0);
    ImgMenu->exec(Img->mapToGlobal(at));
}

// Under Wayland the compositor may still impose a larger size (a maximised or full-screen
// state the window did not offer), which a fixed size would refuse and the compositor
// punish: there the size is a least size, and a size imposed is kept until it ends.
void TForm1::SetClientSize(int width, int height)
{
    FClient->resize(width, height);
    if (TWindowPlacement::PlatformKnowsPositions()) {
        setFixedSize(width, height);
        return;
    }
    setMinimumSize(width, height);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(width, height);
}

void TForm1::GboxPaint(QObject*)
{
    LbTopC->Font().SetColor(Gbox->TopColor());
    LbLastC->Font().SetColor(Gbox->LastColor());
}

QString TForm1::WithBmpExtension(const QString& fileName)
{
    const qsizetype folderEnd = std::max({fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char(':')),
                                          fileName.lastIndexOf(QLatin1Char('/'))});
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > folderEnd;
    const QString extension = hasExtension ? fileName.mid(dot) : QString();
    if (extension.toLower() == QLatin1String(".bmp"))
        return fileName;
    return (hasExtension ? fileName.left(dot) : fileName) + QStringLiteral(".bmp");
}

QString TForm1::WithSaveExtension(const QString& fileName, int filterIndex)
{
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return fileName;
    const QString bmp = WithBmpExtension(fileName);
    if (filterIndex == stBmp || fileName.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return bmp;
    return bmp.chopped(4) + QStringLiteral(".png");
}

// The composite in the format of the file name; a transparent background only where
// the user chose that type.
QByteArray TForm1::EncodeLogo(const QString& fileName, int filterIndex)
{
    const TBitmap& logo = Img->Picture();
    if (!fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return EncodeBmp24(logo);
    if (filterIndex != stTransparentPng)
        return EncodePng(logo);
    return EncodePng(logo, TLogoComposer::TransparentBackground(FLayersParams, FLayers));
}

void TForm1::BtSaveClick()
{
    if (!SaveDlg->Execute(this))
        return;
    const QString fileName = WithSaveExtension(SaveDlg->FileName(), SaveDlg->FilterIndex());
    SaveDlg->SetFileName(fileName);
    SaveFileAtomically(fileName, EncodeLogo(fileName, SaveDlg->FilterIndex()));
    IniGT->WriteString(TSettingsKeys::SaveFileSection, TSettingsKeys::SaveFile, fileName);
}

void TForm1::BtCopyClick()
{
    QGuiApplication::clipboard()->setImage(BitmapImageCopy(Img->Picture()));
    FSavedCaption = windowTitle();
    setWindowTitle(FSavedCaption + QString::fromUtf8(" クリップボードにコピーしました"));
    if (!Timer1->isActive())
        Timer1->start();
}

void TForm1::Timer1Timer()
{
    Timer1->stop();
    setWindowTitle(FSavedCaption);
}

void TForm1::SaveParams(const QString& section)
{
    TIniGT::TUpdate update(*IniGT);
    TStoredParams::Write(*IniGT, section, CurrentParams());
    IniGT->WriteStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FStyleItems);
    update.Commit();
    if (FGallery) {
        FGallery->SetStyles(FStyleItems->ToStringList());
        FGallery->StyleStored(section);
    }
}

// Reads the section over the current parameters and puts what was read into the
// controls; a malformed value stops the reading, and what was read before it is
// still applied.
void TForm1::LoadParams(const QString& section)
{
    TIniGT::TUpdate snapshot(*IniGT);
    TLogoParams params = CurrentParams();
    try {
        TStoredParams::Read(*IniGT, section, Label1->Caption(), params);
    } catch (...) {
        ApplyParams(params);
        throw;
    }
    ApplyParams(params);
    IniGT->ReadStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FStyleItems);
    if (FGallery)
        FGallery->SetStyles(FStyleItems->ToStringList());
    MbGraMouseDown(this, mbLeft, 0, 0, 0);
}

// Puts parameters into the controls that hold them; a margin is set only when it
// differs, so a margin still being typed stays as typed unless it was read.
void TForm1::ApplyParams(const TLogoParams& params)
{
    FBgColor = params.BgColor;
    Gbox->SetTopColor(params.TopColor);
    Gbox->SetLastColor(params.LastColor);
    if (!Label1->Font().SameAttributes(params.Font))
        Label1->Font().Assign(params.Font);
    Edit1->setText(params.Text);
    MbMix->SetSelectedCell(params.MixType);
    MbGra->SetSelectedCell(params.GraType);
    if (params.HSpace != EdHs->Value())
        EdHs->SetValue(params.HSpace);
    if (params.VSpace != EdVs->Value())
        EdVs->SetValue(params.VSpace);
    FSmooth = params.Smooth;
    MmSmooth->setChecked(FSmooth != 0);
    FEffects = params.Effects;
}

// A name the file cannot hold as a section is refused before anything changes. An
// entry appended for a style that could not be stored leaves the list again.
void TForm1::MmAddClick()
{
    QString name = CbStyle->currentText();
    if (!InputQuery(this, QString::fromUtf8("スタイルの追加"), QString::fromUtf8("スタイル名"), name, 255))
        return;
    const QString refused = TIniGT::FirstUnstorableCharacter(name);
    if (!refused.isEmpty())
        throw Exception(QString::fromUtf8("スタイル名の文字「%1」(U+%2) は保存できません")
                            .arg(refused, QString::number(refused.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0')));
    int index = TStoredParams::FindStyle(FStyleItems->ToStringList(), name);
    const bool appended = index == -1;
    if (appended)
        index = FStyleItems->Add(name);
    try {
        SaveParams(name);
    } catch (...) {
        if (appended)
            FStyleItems->Delete(index);
        throw;
    }
    CbStyle->setCurrentIndex(index);
}

void TForm1::MmDelClick()
{
    const int index = CbStyle->currentIndex();
    if (index < 0)
        return;
    const QString name = CbStyle->itemText(index);
    const QString question = QString::fromUtf8("【") + name + QString::fromUtf8("】を削除してよろしいですか");
    if (!WarningOkCancel(this, QString::fromUtf8("警告"), question))
        return;
    TIniGT::TUpdate update(*IniGT);
    IniGT->EraseSection(name);
    FStyleItems->Delete(index);
    CbStyle->setCurrentIndex(-1);
    try {
        SaveParams(TSettingsKeys::LastParams);
        update.Commit();
    } catch (...) {
        FStyleItems->Insert(index, name);
        CbStyle->setCurrentIndex(index);
        if (FGallery)
            FGallery->SetStyles(FStyleItems->ToStringList());
        throw;
    }
}

void TForm1::CbStyleChange()
{
    const int index = CbStyle->currentIndex();
    if (index < 0)
        return;
    LoadParams(CbStyle->itemText(index));
    Gbox->Repaint();
    PboxPaint();
    CbStyle->setCurrentIndex(index);
}

void TForm1::PmPopup()
{
    MmDel->setEnabled(!CbStyle->currentText().isEmpty());
    MmAdd->setEnabled(true);
}

void TForm1::MmSmoothClick()
{
    FSmooth = MmSmooth->isChecked() ? TLogoSmoother::DefaultFactor : 0;
    PboxPaint();
}

// The effects dialog: each change shows at once; Cancel puts back the effects that were
// there.
void TForm1::MmEffectsClick()
{
    const TTextEffects before = FEffects;
    TEffectsDialog dialog(FEffects, *ClDlg, this);
    dialog.OnChange = [this](const TTextEffects& effects) {
        Guard([this, &effects] {
            FEffects = effects;
            PboxPaint();
        });
    };
    if (dialog.Execute())
        return;
    FEffects = before;
    PboxPaint();
}

// Opens the gallery, or brings the open one to the front. Applying a style there is
// choosing it from the list.
void TForm1::MmGalleryClick()
{
    if (!FGallery) {
        FGallery = new TStyleGallery(*IniGT, this);
        FGallery->setAttribute(Qt::WA_DeleteOnClose);
        FGallery->OnApply = [this](int index) {
            Guard([this, index] {
                if (index < 0 || index >= CbStyle->count())
                    return;
                CbStyle->setCurrentIndex(index);
                CbStyleChange();
            });
        };
    }
    FGallery->SetBase(CurrentParams());
    FGallery->SetStyles(FStyleItems->ToStringList());
    FGallery->show();
    FGallery->raise();
    FGallery->activateWindow();
}
