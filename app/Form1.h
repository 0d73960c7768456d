#pragma once

#include "app/LogoSaver.h"
#include "app/MainControls.h"
#include "app/MainFormHandlers.h"
#include "app/StyleGallery.h"
#include "app/StyleHost.h"
#include "composer/LogoComposer.h"
#include "platform/raster/Color.h"
#include "platform/widgets/GraphicControl.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string_view>

class TClipboardStatus;
class TComboBoxStrings;
class TLogoBuild;
class TMainFormWiring;
class TPaneLayout;
enum TColumnEnd : unsigned char;
class TStyleList;

// The main window: the column of controls on the left, the text layer, the gradient
// layer and the finished logo on the right. Every change of a logo parameter ends in
// BuildLogo, which builds the whole logo through the composer once and sizes the window
// to it; painting a pane, or a change of the window's size, shows the built logo again
// and builds nothing. The handlers are the window's entry points; the jobs behind them
// live in units of their own (loading, wiring, pane layout, the built logo, saving,
// the clipboard notice, the style list).
class TForm1 : public QWidget, public TMainControls, public TStyleHost, public TMainFormHandlers {
    Q_OBJECT

public:
    // programFile names the program whose folder holds the settings file; empty means
    // the running program.
    explicit TForm1(QWidget* parent = nullptr, const QString& programFile = QString());
    ~TForm1() override;

    // Handlers; those the controls call are TMainFormHandlers'.
    void FormCreate();
    void FormPaint();
    void FormClose();
    void Edit1KeyPress(char16_t& key) override;
    void EdHsChange(QObject* sender) override;
    void MbTextMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void MbColorMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void MbGraMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void MbMixMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void SpeedButton3Click() override;
    // The text pane's paint: shows the built logo's text layer.
    void PboxPaint() override;
    // Builds the logo from the controls' parameters and shows it in the three panes, the
    // caption and the window's size. A logo too large to make is refused before anything
    // changes, so the last good logo stays.
    void BuildLogo();
    // Shows the last build's composite in the logo pane and sizes the window to the panes.
    void Button1Click();
    void GboxPaint(QObject* sender) override;
    void BtSaveClick() override;
    void BtCopyClick() override;
    void Timer1Timer() override;
    void CbStyleChange() override;
    void MmAddClick() override;
    void MmDelClick() override;
    void PmPopup();
    void MmSmoothClick() override;
    void MmEffectsClick() override;
    void MmGalleryClick() override;
    void ImgContextMenu(const QPoint& at) override;
    // The style list's context menu, at a point of the list.
    void StyleContextMenu(const QPoint& at) override;
    // Scrolls the panes, when the logo makes them larger than the window, to end.
    void ScrollPanes(TColumnEnd end) override;
    // The open style gallery, or null.
    TStyleGallery* StyleGallery() const override { return FGallery; }
    void SaveParams(std::u16string_view section);
    void LoadParams(std::u16string_view section);
    void ApplyParams(const TLogoParams& params) override;

    // The logo parameters as the controls hold them.
    TLogoParams CurrentParams() const override;
    // The style list's view of the window.
    QWidget* DialogParent() override { return this; }
    QComboBox& StyleBox() override { return *CbStyle; }
    TIniGT& Settings() override;
    std::u16string DefaultText() const override;
    // The style list of the drop-down box.
    TComboBoxStrings& StyleItems();

    // The application's title, look and control font, before the window is made.
    static void InitializeApplication();

    static QString AboutText();
    // The save names, as TLogoSaver makes them.
    static QString WithBmpExtension(const QString& fileName) { return TLogoSaver::WithBmpExtension(fileName); }
    static QString WithSaveExtension(const QString& fileName, int filterIndex)
    {
        return TLogoSaver::WithSaveExtension(fileName, filterIndex);
    }
    static QString SizeCaption(int width, int height);

signals:
    // A build has shown its composite in the logo pane.
    void LogoShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Copies a layer of the last build onto a pane's canvas of the layer's size.
    static void ShowLayer(const TBitmap& layer, TCanvas& pane);
    // The stored position, read where the window system lets a window choose one.
    void RestorePosition();

    QString FProgramFile; // the running program unless the window was given another
    QWidget* FClient = nullptr;
    std::unique_ptr<TLogoBuild> FLogo;
    std::unique_ptr<TPaneLayout> FLayout;
    std::unique_ptr<TStyleList> FStyles;
    std::unique_ptr<TClipboardStatus> FClipboardStatus;
    // Goes before the controls do, so that their last events meet no filter of a window
    // that is no longer whole.
    std::unique_ptr<TMainFormWiring> FWiring;
    bool FFirstPaint = false;
    bool FShown = false;
    TColor FBgColor = TLogoParams::DefaultBgColor;
    int FSmooth = 0; // the smoothing factor of the logo, 0 for plain edges
    TTextEffects FEffects; // letter spacing, outline and shadow of the logo
    QPointer<TStyleGallery> FGallery;
};
