#pragma once

#include "composer/LogoComposer.h"
#include "app/StyleGallery.h"
#include "platform/raster/Color.h"
#include "platform/widgets/GraphicControl.h"

#include <QMargins>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolButton;
class TBevel;
class TColorDialog;
class TComboBoxStrings;
class TFontDialog;
class TGradBox;
class TImage;
class TIniGT;
class TLabel;
class TManyBtn;
class TPaintBox;
class TSaveDialog;
class TSpinEdit;

// The file types of the save dialog, in the order of its filter.
enum TSaveType { stBmp = 1, stPng = 2, stTransparentPng = 3 };

// The main window: the column of controls on the left, the text layer, the gradient
// layer and the finished logo on the right. Every change of a logo parameter ends in
// PboxPaint, which builds the whole logo through the composer once and sizes the window
// to it.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // programFile names the program whose folder holds the settings file; empty means
    // the running program.
    explicit TForm1(QWidget* parent = nullptr, const QString& programFile = QString());
    ~TForm1() override;

    // Controls, by their form names.
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TManyBtn* MbText = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TLabel* Label5 = nullptr;
    TSpinEdit* EdHs = nullptr;
    TLabel* Label4 = nullptr;
    TSpinEdit* EdVs = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QComboBox* CbStyle = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    TLabel* Label3 = nullptr;
    TManyBtn* MbMix = nullptr;
    TLabel* Label6 = nullptr;
    TManyBtn* MbGra = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* LbTopC = nullptr;
    TLabel* LbLastC = nullptr;
    TManyBtn* MbColor = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QPushButton* BtCopy = nullptr;
    QPushButton* BtSave = nullptr;
    TBevel* Bv = nullptr;
    TPaintBox* Pbox = nullptr;
    TGradBox* Gbox = nullptr;
    TImage* Img = nullptr;
    TLabel* Label1 = nullptr;

    // Components without a place on the window.
    std::unique_ptr<TColorDialog> ClDlg;
    std::unique_ptr<TFontDialog> FntDlg;
    std::unique_ptr<TSaveDialog> SaveDlg;
    TIniGT* IniGT = nullptr;
    QMenu* Pm = nullptr;
    QAction* MmAdd = nullptr;
    QAction* N1 = nullptr;
    QAction* MmDel = nullptr;
    QTimer* Timer1 = nullptr;
    // The finished logo's context menu; the gallery entry is also in Pm.
    QMenu* ImgMenu = nullptr;
    QAction* MmCopy = nullptr;
    QAction* MmSave = nullptr;
    QAction* MmSmooth = nullptr;
    QAction* MmEffects = nullptr;
    QAction* MmGallery = nullptr;

    // Handlers.
    void FormCreate();
    void FormPaint();
    void FormClose();
    void Edit1KeyPress(char16_t& key);
    void EdHsChange(QObject* sender);
    void MbTextMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void MbColorMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void MbGraMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void MbMixMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void SpeedButton3Click();
    void PboxPaint();
    void Button1Click();
    void GboxPaint(QObject* sender);
    void BtSaveClick();
    void BtCopyClick();
    void Timer1Timer();
    void CbStyleChange();
    void MmAddClick();
    void MmDelClick();
    void PmPopup();
    void MmSmoothClick();
    void MmEffectsClick();
    void MmGalleryClick();
    // The open style gallery, or null.
    TStyleGallery* StyleGallery() const { return FGallery; }
    void SaveParams(const QString& section);
    void LoadParams(const QString& section);
    void ApplyParams(const TLogoParams& params);

    // The logo parameters as the controls hold them.
    TLogoParams CurrentParams() const;
    // The style list of the drop-down box.
    TComboBoxStrings& StyleItems() { return *FStyleItems; }

    // The application's title, look and control font, before the window is made.
    static void InitializeApplication();

    static QString AboutText();
    // The save name with a ".bmp" extension: kept when it has one in any letter case,
    // replacing another extension, appended when there is none.
    static QString WithBmpExtension(const QString& fileName);
    // The name a save writes: a name ending in ".png" in any letter case stays as it
    // is; with the BMP type chosen, or a name ending in ".bmp", WithBmpExtension; with
    // a PNG type, the extension ".png" in the same way.
    static QString WithSaveExtension(const QString& fileName, int filterIndex);
    static QString SizeCaption(int width, int height);

signals:
    // A build has shown its composite in the logo pane.
    void LogoShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadForm();
    void BindControls();
    void ShowDesignValues();
    void CreateComponents();
    void MakePaneColumn();
    void WireEvents();
    void WireKeyboard();
    void OpenImgMenuFromKeyboard();
    void SetClientSize(int width, int height);
    // The stored position, read where the window system lets a window choose one.
    void RestorePosition();
    // Moves a window whose title bar or most of whose area lies off every screen onto one.
    void KeepOnScreen();
    // The largest client area the window's screen holds with the window's frame.
    QSize LimitedClientSize(const QSize& wanted) const;
    QMargins FrameMargins() const;
    // Copies a layer of the last build onto a pane's canvas of the layer's size.
    static void ShowLayer(const TBitmap& layer, TCanvas& pane);
    QByteArray EncodeLogo(const QString& fileName, int filterIndex);
    void ImgContextMenu(const QPoint& at);
    void Guard(const std::function<void()>& handler);
    template <typename T> T* Find(const char* name) const;

    QString FProgramFile; // the running program unless the window was given another
    QWidget* FClient = nullptr;
    // The column of the three panes, which scrolls where the logo would make the window
    // larger than its screen.
    QScrollArea* FPaneScroll = nullptr;
    QWidget* FPanes = nullptr;
    std::unique_ptr<TComboBoxStrings> FStyleItems;
    bool FFirstPaint = false;
    bool FShown = false;
    bool FBuildQueued = false;
    bool FImgMenuQueued = false;
    TColor FBgColor = TLogoParams::DefaultBgColor;
    QString FSavedCaption;
    int FSmooth = 0; // the smoothing factor of the logo, 0 for plain edges
    TTextEffects FEffects; // letter spacing, outline and shadow of the logo
    QPointer<TStyleGallery> FGallery;
    TLogoLayers FLayers; // the last build's layers, their memory used again by the next
    TLogoParams FLayersParams; // what FLayers were built from; the controls may since ask for a logo that was refused
};
