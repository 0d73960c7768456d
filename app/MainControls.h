#pragma once

#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class TBevel;
class TColorDialog;
class TFontDialog;
class TGradBox;
class TImage;
class TIniGTComponent;
class TLabel;
class TManyBtn;
class TPaintBox;
class TSaveDialog;
class TSpinEdit;

// The main window's controls, by their form names, and its components without a place
// on the window: what the units that load, wire, lay out and name the window work on.
struct TMainControls {
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

    std::unique_ptr<TColorDialog> ClDlg;
    std::unique_ptr<TFontDialog> FntDlg;
    std::unique_ptr<TSaveDialog> SaveDlg;
    TIniGTComponent* IniGT = nullptr;
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
};
