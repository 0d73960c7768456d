#include "app/Form1.h"

#include "app/AccessibleNames.h"
#include "app/ClassicLook.h"
#include "app/ClipboardStatus.h"
#include "app/EffectsDialog.h"
#include "app/LogoBuild.h"
#include "app/MainFormLoader.h"
#include "app/MainFormWiring.h"
#include "app/PaneLayout.h"
#include "app/StyleList.h"
#include "app/WindowPlacement.h"
#include "composer/LogoSmoother.h"
#include "composer/SettingsKeys.h"
#include "components/widgets/GradBox.h"
#include "components/settings/IniGT.h"
#include "components/widgets/ManyBtn.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/GuardedApplication.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

namespace {

const QString Version = QStringLiteral("Vezodev " VEZODEV_VERSION);

} // namespace

void TForm1::InitializeApplication()
{
    TClassicLook::Apply();
}

TForm1::TForm1(QWidget* parent, const QString& programFile)
    : QWidget(parent), FProgramFile(programFile.isEmpty() ? TApplication::ExeName() : programFile),
      FLogo(std::make_unique<TLogoBuild>())
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    // A window of a fixed size offers no maximise and no full screen.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    FClient = &TMainFormLoader::Load(*this, FProgramFile);
    FLayout = std::make_unique<TPaneLayout>(*this, *FClient);
    FStyles = std::make_unique<TStyleList>(*this);
    FClipboardStatus = std::make_unique<TClipboardStatus>(*this, *Timer1);
    FWiring = std::make_unique<TMainFormWiring>(*this);
    TAccessibleNames::Apply(*this);
    TGuardedApplication::Run(this, [this] { FormCreate(); });
}

TForm1::~TForm1() = default;

TComboBoxStrings& TForm1::StyleItems()
{
    return FStyles->Items();
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
    BuildLogo();
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

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    // The first showing builds the logo before the window appears, so it opens at the
    // logo's size; without a finished start-up it builds it all the same.
    TGuardedApplication::Run(this, [this] { FFirstPaint ? FormPaint() : BuildLogo(); });
    FLayout->KeepOnScreen();
}

// The user can always quit: when the settings cannot be written the error is shown and
// the window closes all the same.
void TForm1::closeEvent(QCloseEvent* event)
{
    event->accept();
    TGuardedApplication::Run(this, [this] { FormClose(); });
}

// A compositor may impose a state the window does not offer (maximised, full screen);
// the window then takes the size it is given, and its own size again when it leaves it.
void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        FLayout->RestoreClientSize();
}

void TForm1::Edit1KeyPress(char16_t& key)
{
    if (key != 13)
        return;
    key = 0;
    BuildLogo();
}

// Shared by both margin fields: a text that reads as 0 (also an empty or unreadable
// one) becomes "0", then the logo is rebuilt.
void TForm1::EdHsChange(QObject* sender)
{
    auto* edit = qobject_cast<TSpinEdit*>(sender);
    if (edit && edit->Value() == 0)
        edit->SetValue(0);
    BuildLogo();
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
        ClDlg->SetTitle(Tr("背景色"));
        if (ClDlg->Execute(this))
            FBgColor = ClDlg->Color();
    }
    BuildLogo();
}

void TForm1::MbColorMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    if (MbColor->SelectedCell() == 1) {
        ClDlg->SetColor(Gbox->TopColor());
        ClDlg->SetTitle(Tr("色１"));
        if (ClDlg->Execute(this))
            Gbox->SetTopColor(ClDlg->Color());
    } else if (MbColor->SelectedCell() == 2) {
        ClDlg->SetColor(Gbox->LastColor());
        ClDlg->SetTitle(Tr("色２"));
        if (ClDlg->Execute(this))
            Gbox->SetLastColor(ClDlg->Color());
    }
    Gbox->Repaint();
    BuildLogo();
}

void TForm1::MbGraMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    Gbox->SetGradStyle(TLogoComposer::GradStyleOf(TLogoComposer::GraTypeOf(MbGra->SelectedCell(), gtTopBottom)));
    Gbox->Repaint();
    BuildLogo();
}

void TForm1::MbMixMouseDown(QObject*, TMouseButton, TShiftState, int, int)
{
    BuildLogo();
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

// The preview shows the text layer, the window is captioned with the logo's size, the
// gradient box (which paints the gradient layer's pixels itself) is sized to match, and
// Button1Click shows the composite.
void TForm1::BuildLogo()
{
    const TLogoParams params = CurrentParams();
    FLogo->Compose(params);
    const TSize size = FLogo->Size();
    FLayout->PlaceUpperPanes(size);
    PboxPaint();
    setWindowTitle(SizeCaption(size.Width, size.Height));
    Gbox->Repaint();
    Button1Click();
    if (FGallery)
        FGallery->SetBase(params);
}

void TForm1::PboxPaint()
{
    ShowLayer(FLogo->Layers().Text, Pbox->Canvas());
}

void TForm1::Button1Click()
{
    FLayout->PlaceLogoPane();
    ShowLayer(FLogo->Layers().Composite, Img->Canvas());
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

void TForm1::GboxPaint(QObject*)
{
    // The numbers beside the box show its colours as the logo has them, on any desktop.
    LbTopC->Font().SetColor(ColorToRGB(Gbox->TopColor()));
    LbLastC->Font().SetColor(ColorToRGB(Gbox->LastColor()));
}

// Saves the built logo, not what a pane shows of it.
void TForm1::BtSaveClick()
{
    if (!SaveDlg->Execute(this))
        return;
    const QString fileName = TLogoSaver::WithSaveExtension(SaveDlg->FileName(), SaveDlg->FilterIndex());
    SaveDlg->SetFileName(fileName);
    TLogoSaver::Save(*FLogo, fileName, SaveDlg->FilterIndex());
    IniGT->WriteString(TSettingsKeys::SaveFileSection, TSettingsKeys::SaveFile, fileName);
}

void TForm1::BtCopyClick()
{
    FClipboardStatus->Copy(FLogo->Layers().Composite);
}

void TForm1::Timer1Timer()
{
    FClipboardStatus->Expire();
}

void TForm1::SaveParams(const QString& section)
{
    FStyles->Store(section);
}

void TForm1::LoadParams(const QString& section)
{
    FStyles->Load(section);
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

void TForm1::MmAddClick()
{
    FStyles->Add();
}

void TForm1::MmDelClick()
{
    FStyles->DeleteChosen();
}

void TForm1::CbStyleChange()
{
    const int index = CbStyle->currentIndex();
    if (index < 0)
        return;
    LoadParams(CbStyle->itemText(index));
    Gbox->Repaint();
    BuildLogo();
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
    BuildLogo();
}

// The effects dialog: each change shows at once; Cancel puts back the effects that were
// there. A change that would make the logo too large is refused before anything
// changes: the dialog shows the effects in force again, and the error box says why.
void TForm1::MmEffectsClick()
{
    const TTextEffects before = FEffects;
    TEffectsDialog dialog(FEffects, *ClDlg, this);
    dialog.OnChange = [this, &dialog](const TTextEffects& effects) {
        TGuardedApplication::Run(this, [this, &dialog, &effects] {
            TLogoParams params = CurrentParams();
            params.Effects = effects;
            try {
                TLogoComposer::CheckLogoSize(TLogoComposer::LogoExtent(params));
            } catch (const ELogoSizeError&) {
                dialog.SetEffects(FEffects);
                throw;
            }
            FEffects = effects;
            BuildLogo();
        });
    };
    if (dialog.Execute())
        return;
    FEffects = before;
    BuildLogo();
}

// Opens the gallery, or brings the open one to the front. Applying a style there is
// choosing it from the list.
void TForm1::StyleContextMenu(const QPoint& at)
{
    TGuardedApplication::Run(this, [this] { PmPopup(); });
    Pm->exec(CbStyle->mapToGlobal(at));
}

void TForm1::ScrollPanes(TColumnEnd end)
{
    FLayout->ScrollTo(end);
}

void TForm1::MmGalleryClick()
{
    if (!FGallery) {
        FGallery = new TStyleGallery(*IniGT, this);
        FGallery->setAttribute(Qt::WA_DeleteOnClose);
        FGallery->OnApply = [this](int index) {
            TGuardedApplication::Run(this, [this, index] {
                if (index < 0 || index >= CbStyle->count())
                    return;
                CbStyle->setCurrentIndex(index);
                CbStyleChange();
            });
        };
    }
    FGallery->SetBase(CurrentParams());
    FGallery->SetStyles(StyleItems().ToStringList());
    FGallery->SetCurrentStyle(CbStyle->currentIndex());
    FGallery->show();
    FGallery->raise();
    FGallery->activateWindow();
}
