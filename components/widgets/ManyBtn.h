#pragma once

#include "components/widgets/CaptionStrings.h"
#include "components/widgets/CellGrid.h"
#include "platform/raster/Bitmap.h"
#include "platform/raster/Color.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/raster/Types.h"
#include "platform/widgets/QtText.h"

#include <QString>
#include <QStringList>
#include <functional>

class TCanvas;

// A windowless grid of captioned cells that works as a group of push buttons or, with
// AllowRadio, as a radio group. The cells are drawn into an off-screen cell image that
// a paint only copies; presses and selection changes redraw just the cells concerned,
// on the screen and in the image.
// The grid is one stop of the Tab chain. There the arrow keys, Home and End move the
// focused cell (in a radio group they select it, as a press does), and Space or Enter
// presses it; every such press reaches OnMouseDown with the cell selected, as a click on
// its centre does. A screen reader sees a group of radio or push buttons, one a cell.
class TManyBtn : public TGraphicControl {
    Q_OBJECT

public:
    // Automatic captions: a run of kana, letters or numbers starting at cell 1's caption.
    enum TAutoCaption : unsigned char { acNone, acHKana, acKKana, acAbcBig, acAbcSmall, acNumber };
    Q_ENUM(TAutoCaption)

private:
    // The published properties, in the order a stored form lists them. Captions and
    // FCaptions as stored only fill the list; SetCaptions is the setter for code.
    Q_PROPERTY(QStringList Captions READ CaptionList WRITE ReadCaptionList)
    Q_PROPERTY(int Cells READ Cells WRITE SetCells)
    Q_PROPERTY(int Cols READ Cols WRITE SetCols)
    Q_PROPERTY(qlonglong BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(TAutoCaption IsAutoCaption READ IsAutoCaption WRITE SetIsAutoCaption)
    Q_PROPERTY(bool AllowRadio READ AllowRadio WRITE SetAllowRadio)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool MarginErase READ MarginErase WRITE SetMarginErase)
    Q_PROPERTY(QStringList FCaptions READ CaptionList WRITE ReadCaptionList)

public:
    explicit TManyBtn(QWidget* parent = nullptr);
    ~TManyBtn() override;

    // The caption list itself; editing it directly neither redraws nor changes Cells.
    TCaptionStrings& Captions() { return FCaptions; }
    const TCaptionStrings& Captions() const { return FCaptions; }
    // Copies list (given one empty caption first when it is empty, the list itself
    // included), makes Cells its count and ends automatic captions. A selection past the
    // new count moves to cell 1. The cells are redrawn at the next paint.
    void SetCaptions(TStrings& list);
    int Cells() const { return FCells; }
    void SetCells(int cells);
    int Cols() const { return FCols; }
    void SetCols(int cols);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor color);
    TAutoCaption IsAutoCaption() const { return FIsAutoCaption; }
    // Generates the captions of mode, also when it is the current one, then takes Caption
    // from the selected cell. The cells are redrawn at the next paint.
    void SetIsAutoCaption(TAutoCaption mode);
    static QStringList AutoCaptions(TAutoCaption mode, const QString& first, int count);
    bool AllowRadio() const { return FAllowRadio; }
    void SetAllowRadio(bool allowRadio);
    // The caption of the cell last selected or set; it hides the control's own text.
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool MarginErase() const { return FMarginErase; }
    void SetMarginErase(bool marginErase);
    int SelectedCell() const { return FSelectedCell; }
    void SetSelectedCell(int cell);

    // The off-screen picture of all cells that a paint copies.
    const TBitmap& CellImage() const { return FImage; }

    // The cell the keyboard works on: the selected one in a radio group.
    int FocusedCell() const { return FAllowRadio || FFocusedCell > FCells ? FSelectedCell : FFocusedCell; }
    // Presses and releases a captioned cell as a click on its centre does.
    void PressCell(int cell);
    // The rectangle of a cell at the control's current size.
    TRect CellRect(int cell) const;
    // What a screen reader calls a cell: the owner's name for it, or else its caption.
    QString CellName(int cell) const;
    std::function<QString(int cell)> OnGetCellName;

    QAccessible::Role AccessibleRole() const override { return QAccessible::Grouping; }
    TRect FocusRect() const override;

protected:
    void Paint() override;
    void SystemColorsChanged() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void FontChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    enum TCellState : unsigned char { csRaised, csPressed };

    QStringList CaptionList() const { return ToQStringList(FCaptions.ToStringList()); }
    // A stored caption list goes straight into the list and changes nothing else. A form
    // holds the list twice, as Captions first and as FCaptions last; the second puts back
    // the captions that Cells, IsAutoCaption and Caption rewrote while the form was read.
    void ReadCaptionList(const QStringList& captions) { FCaptions.Assign(ToTextList(captions)); }

    QString GetCellCaption(int cell) const;
    void SetCellCaption(int cell, const QString& caption);
    void CalcCellSize();
    void RebuildImage();
    void DrawCell(int cell, const QString& caption, TCanvas& canvas, TCellState state);
    void RedrawCell(int cell, const QString& caption, TCellState state);
    void RedrawCell(int cell, TCellState state) { RedrawCell(cell, GetCellCaption(cell), state); }
    bool HitTest(int x, int y);
    // Presses FPressedCell: the mouse press that found it, or a key.
    void Press(TMouseButton button, TShiftState shift, int x, int y);
    // Moves the keyboard's cell, past cells without a caption.
    void MoveFocus(TGridMove move);
    void NotifyFocusedCell();
    void NotifyChecked(int cell);
    void LayoutChanged();

    TCaptionStrings FCaptions;
    bool FImageBuilt = false;
    int FCellWidth = 0;
    TAutoCaption FIsAutoCaption = acNone;
    TBitmap FImage;
    TColor FBackColor = clBtnFace;
    QString FCaption;
    int FCells = 1;
    int FCols = 1;
    bool FAllowRadio = false;
    bool FMarginErase = true;
    int FSelectedCell = 1;
    int FPressedCell = 0;
    bool FHeld = false;
    int FPreviousCell = 0;
    int FCellHeight = 0;
    int FFocusedCell = 1;
};

// Lets stored forms create TManyBtn controls.
void RegisterManyBtn();
