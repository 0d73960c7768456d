#include "components/widgets/ManyBtn.h"

#include "components/widgets/AutoCaptions.h"
#include "platform/raster/Canvas.h"
#include "platform/base/Store.h"
#include "platform/widgets/CaptionName.h"
#include "platform/widgets/FormLoader.h"
#include "platform/widgets/QtText.h"

#include <QAccessible>
#include <QKeyEvent>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

TManyBtn::TManyBtn(QWidget* parent)
    : TGraphicControl(parent)
{
    resize(0, 0); // a control made in code has no size until it is given one
    FCaptions.Add({});
    FImage.SetSize(width(), height());
    FImage.Canvas().SetSystemColors(ctDisplay);
    // Only the keyboard brings the focus: a click works exactly as it always has.
    setFocusPolicy(Qt::TabFocus);
}

TManyBtn::~TManyBtn() = default;

QString TManyBtn::GetCellCaption(int cell) const
{
    if (cell < 1 || cell > FCells)
        cell = 1;
    return ToQString(FCaptions.Get(cell - 1));
}

void TManyBtn::SetCellCaption(int cell, const QString& caption)
{
    if (cell < 1)
        return;
    if (cell <= FCaptions.Count())
        FCaptions.Put(cell - 1, ToText(caption));
    else
        FCaptions.Add(ToText(caption));
}

void TManyBtn::CalcCellSize()
{
    const TSize size = GridCellSize(Width(), Height(), FCells, FCols);
    FCellWidth = size.Width;
    FCellHeight = size.Height;
}

namespace {

// A rectangle whose pen and brush have the same colour.
void Fill(TCanvas& canvas, const TRect& rect, TColor color)
{
    canvas.Pen().Color = color;
    canvas.Brush().SetColor(color);
    canvas.Rectangle(rect);
}

} // namespace

void TManyBtn::RebuildImage()
{
    FImage.SetSize(Width(), Height());
    CalcCellSize();
    TCanvas& canvas = FImage.Canvas();
    canvas.Pen().Mode = pmCopy;
    canvas.Pen().Width = 1;
    canvas.Pen().Style = psSolid;
    canvas.Brush().SetStyle(bsSolid);
    if (FMarginErase) {
        Fill(canvas, Rect(0, 0, Width(), Height()), clBtnFace);
        Fill(canvas, GridArea(FCells, FCols, TSize{FCellWidth, FCellHeight}), FBackColor);
    } else {
        Fill(canvas, Rect(0, 0, Width(), Height()), FBackColor);
    }
    for (int cell = 1; cell <= FCells; ++cell)
        DrawCell(cell, GetCellCaption(cell), canvas, FAllowRadio && cell == FSelectedCell ? csPressed : csRaised);
}

void TManyBtn::DrawCell(int cell, const QString& caption, TCanvas& canvas, TCellState state)
{
    const bool down = state == csPressed;
    const TColor face = caption.isEmpty() ? FBackColor : clBtnFace;
    canvas.Brush().SetColor(face);
    canvas.Pen().Color = face;

    // A font given by its cell height is drawn at the same size as a character height.
    canvas.Font().Assign(Font());
    canvas.Font().SetSize(std::abs(canvas.Font().Size()));

    const TRect r = GridCellRect(cell, FCols, TSize{FCellWidth, FCellHeight});
    canvas.Rectangle(r);
    if (caption.isEmpty())
        return;

    const int right = r.Right - 1;
    const int bottom = r.Bottom - 1;
    canvas.Pen().Color = down ? clBtnShadow : clBtnHighlight;
    canvas.Polyline({{right, r.Top}, {r.Left, r.Top}, {r.Left, bottom}});
    canvas.Pen().Color = down ? clBtnHighlight : clBtnShadow;
    canvas.Polyline({{right, r.Top}, {right, bottom}, {r.Left, bottom}});

    // The font height is negative here, so V is the room left above and below the text.
    const int v = FCellHeight + canvas.Font().Height();
    const int h = FCellWidth - canvas.TextWidth(ToText(caption));
    if (v < FCellHeight / 15 || h < FCellWidth / 15)
        return; // a caption that does not fit is left out, never clipped
    const int offset = down && v > 3 && h > 3 ? 1 : 0;
    canvas.TextOut(r.Left + h / 2 + offset, r.Top + v / 2 + offset, ToText(caption));
}

void TManyBtn::RedrawCell(int cell, const QString& caption, TCellState state)
{
    DrawCell(cell, caption, Canvas(), state);
    DrawCell(cell, caption, FImage.Canvas(), state);
}

void TManyBtn::LayoutChanged()
{
    RebuildImage();
    Invalidate();
}

void TManyBtn::Paint()
{
    if (FImage.Width() != Width() || FImage.Height() != Height() || !FImageBuilt) {
        RebuildImage();
        FImageBuilt = true;
    }
    const TRect all = Rect(0, 0, Width(), Height());
    Canvas().SetCopyMode(cmSrcCopy);
    Canvas().CopyRect(all, FImage.Canvas(), all);
}

void TManyBtn::SystemColorsChanged()
{
    FImageBuilt = false;
    Invalidate();
}

bool TManyBtn::HitTest(int x, int y)
{
    const std::int64_t cell = GridCellAt(TPoint{x, y}, FCols, TSize{FCellWidth, FCellHeight});
    if (cell < 1 || cell > FCells)
        return false;
    if (GetCellCaption(static_cast<int>(cell)).isEmpty())
        return false;
    FPreviousCell = FSelectedCell;
    FPressedCell = static_cast<int>(cell);
    return true;
}

void TManyBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!HitTest(x, y))
        return;
    Press(button, shift, x, y);
}

void TManyBtn::Press(TMouseButton button, TShiftState shift, int x, int y)
{
    RedrawCell(FPreviousCell, csRaised);
    RedrawCell(FPressedCell, csPressed);
    SetSelectedCell(FPressedCell);
    FCaption = GetCellCaption(FPressedCell);
    if (FFocusedCell != FPressedCell) {
        FFocusedCell = FPressedCell;
        if (!FAllowRadio)
            NotifyFocusedCell();
    }
    if (!FAllowRadio)
        FHeld = true;
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TManyBtn::PressCell(int cell)
{
    if (cell < 1 || cell > FCells || GetCellCaption(cell).isEmpty())
        return;
    FPreviousCell = FSelectedCell;
    FPressedCell = cell;
    const TRect r = CellRect(cell);
    Press(mbLeft, 0, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    if (!FAllowRadio && FHeld) {
        RedrawCell(FSelectedCell, csRaised);
        FHeld = false;
    }
}

TRect TManyBtn::CellRect(int cell) const
{
    return GridCellRect(cell, FCols, GridCellSize(Width(), Height(), FCells, FCols));
}

QString TManyBtn::CellName(int cell) const
{
    const QString name = OnGetCellName ? OnGetCellName(cell) : QString();
    return name.isEmpty() ? CaptionName(GetCellCaption(cell)) : name;
}

// Inside the cell's edges, as a classic button draws it; a cell too small for that gets
// the rectangle one pixel inside.
TRect TManyBtn::FocusRect() const
{
    const TRect r = CellRect(FocusedCell());
    const int inset = std::min(r.Right - r.Left, r.Bottom - r.Top) >= 12 ? 3 : 1;
    return Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
}

void TManyBtn::MoveFocus(TGridMove move)
{
    int cell = FocusedCell();
    for (int tried = 0; tried < FCells; ++tried) {
        cell = GridMoveFrom(cell, move, FCells, FCols);
        if (!GetCellCaption(cell).isEmpty())
            break;
        // Home and End go on from the end they reached, inwards.
        if (move == gmFirst)
            move = gmNext;
        else if (move == gmLast)
            move = gmPrevious;
    }
    if (cell == FocusedCell() || GetCellCaption(cell).isEmpty())
        return;
    if (FAllowRadio) {
        PressCell(cell);
        return;
    }
    FFocusedCell = cell;
    update();
    NotifyFocusedCell();
}

void TManyBtn::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        TGraphicControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Right: MoveFocus(gmNext); break;
    case Qt::Key_Left: MoveFocus(gmPrevious); break;
    case Qt::Key_Down: MoveFocus(gmRowDown); break;
    case Qt::Key_Up: MoveFocus(gmRowUp); break;
    case Qt::Key_Home: MoveFocus(gmFirst); break;
    case Qt::Key_End: MoveFocus(gmLast); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            PressCell(FocusedCell());
        break;
    default:
        TGraphicControl::keyPressEvent(event);
        return;
    }
    event->accept();
}

// Qt reports the grid's own focus only after this event, and a reader keeps the last
// object focused: the cell is reported once the grid's report is out.
void TManyBtn::focusInEvent(QFocusEvent* event)
{
    TGraphicControl::focusInEvent(event);
    QMetaObject::invokeMethod(this, [this] { NotifyFocusedCell(); }, Qt::QueuedConnection);
}

void TManyBtn::NotifyFocusedCell()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent focused(this, QAccessible::Focus);
    focused.setChild(FocusedCell() - 1);
    QAccessible::updateAccessibility(&focused);
}

void TManyBtn::NotifyChecked(int cell)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent changed(this, checked);
    changed.setChild(cell - 1);
    QAccessible::updateAccessibility(&changed);
}

void TManyBtn::MouseMove(TShiftState shift, int x, int y)
{
    if (!FAllowRadio && FHeld) {
        const std::int64_t position = GridRunPositionAt(TPoint{x, y}, FCols, TSize{FCellWidth, FCellHeight});
        if (position != FSelectedCell) {
            RedrawCell(FSelectedCell, csRaised);
            FHeld = false;
        }
    }
    TGraphicControl::MouseMove(shift, x, y);
}

// Every release raises OnMouseUp, as every move raises OnMouseMove, whether or not the
// press before it selected a cell.
void TManyBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    HitTest(x, y);
    if (!FAllowRadio && FHeld) {
        RedrawCell(FSelectedCell, csRaised);
        FHeld = false;
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TManyBtn::FontChanged()
{
    TGraphicControl::FontChanged();
    LayoutChanged();
}

void TManyBtn::SetSelectedCell(int cell)
{
    if (cell < 1 || cell > FCells)
        return;
    const int old = FSelectedCell;
    FSelectedCell = cell;
    FCaption = GetCellCaption(cell);
    if (!FAllowRadio)
        return;
    RedrawCell(old, csRaised);
    RedrawCell(cell, csPressed);
    if (old != cell) {
        NotifyChecked(old);
        NotifyChecked(cell);
        NotifyFocusedCell();
    }
}

void TManyBtn::SetCells(int cells)
{
    // The selection moves before the range test, so even a rejected value below it
    // moves the selection to cell 1.
    if (cells < FSelectedCell)
        SetSelectedCell(1);
    if (cells < 1 || cells > 5000)
        return;
    for (int cell = FCells + 1; cell <= cells; ++cell)
        SetCellCaption(cell, QString());
    for (int removed = cells; removed < FCells; ++removed)
        FCaptions.Delete(cells); // throws when the list was shortened behind our back
    FCells = cells;
    LayoutChanged();
}

void TManyBtn::SetCols(int cols)
{
    if (cols < 1)
        return;
    FCols = cols;
    LayoutChanged();
}

void TManyBtn::SetBackColor(TColor color) { if (Store(FBackColor, color)) LayoutChanged(); }

void TManyBtn::SetMarginErase(bool marginErase)
{
    FMarginErase = marginErase;
    LayoutChanged();
}

void TManyBtn::SetCaptions(TStrings& list)
{
    if (list.Count() == 0)
        list.Add({});
    FCaptions.Assign(list);
    FCells = FCaptions.Count();
    FIsAutoCaption = acNone;
    // A shorter list takes the selection back to the first cell, as Cells does.
    if (FSelectedCell > FCells) {
        FSelectedCell = 1;
        FCaption = GetCellCaption(1);
    }
    LayoutChanged();
}

// The captions of cells 1..count for mode, the run starting at the entry that matches
// first; empty for acNone and for values outside the enumeration.
QStringList TManyBtn::AutoCaptions(TAutoCaption mode, const QString& first, int count)
{
    switch (mode) {
    case acHKana: return HiraganaCaptions(first, count);
    case acKKana: return KatakanaCaptions(first, count);
    case acAbcBig: return CapitalLetterCaptions(first, count);
    case acAbcSmall: return SmallLetterCaptions(first, count);
    case acNumber: return NumberCaptions(first, count);
    case acNone: break;
    }
    return QStringList();
}

void TManyBtn::SetIsAutoCaption(TAutoCaption mode)
{
    const QStringList run = AutoCaptions(mode, GetCellCaption(1), FCells);
    for (int cell = 1; cell <= run.size(); ++cell)
        SetCellCaption(cell, run[cell - 1]);
    FIsAutoCaption = mode;
    FCaption = GetCellCaption(FSelectedCell);
    LayoutChanged();
}

void TManyBtn::SetAllowRadio(bool allowRadio)
{
    if (allowRadio)
        FHeld = false;
    FAllowRadio = allowRadio;
    RedrawCell(FSelectedCell, allowRadio ? csPressed : csRaised);
}

void TManyBtn::SetCaption(const QString& caption)
{
    FCaption = caption;
    SetCellCaption(FSelectedCell, caption);
    RedrawCell(FSelectedCell, caption, FAllowRadio ? csPressed : csRaised);
    FIsAutoCaption = acNone;
}

void RegisterManyBtn()
{
    TFormLoader::RegisterClass(QStringLiteral("TManyBtn"), [](QWidget* parent) { return new TManyBtn(parent); });
}
