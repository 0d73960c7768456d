#include "components/ManyBtn.h"

#include "platform/Canvas.h"
#include "platform/FormLoader.h"
#include "platform/IntegerSyntax.h"
#include "platform/ShiftJis.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// ---------------------------------------------------------------------------------------
// Caption list

QString TCaptionStrings::Get(int index) const
{
    if (index < 0 || index >= FCount)
        return QString();
    return FList.Get(index);
}

void TCaptionStrings::Clear()
{
    FList.Clear();
    FCount = 0;
}

void TCaptionStrings::Delete(int index)
{
    FList.Delete(index); // throws for an index outside the list, before the count changes
    --FCount;
}

void TCaptionStrings::Insert(int index, const QString& text)
{
    if (index < 0 || index > FCount)
        return;
    FList.Insert(index, text);
    ++FCount;
}

// ---------------------------------------------------------------------------------------
// Grid geometry

int GridRows(int cells, int cols)
{
    return (cells - 1) / cols + 1;
}

TSize GridCellSize(int width, int height, int cells, int cols)
{
    return TSize{width / cols, height / GridRows(cells, cols)};
}

TRect GridCellRect(int cell, int cols, TSize cellSize)
{
    const int column = (cell - 1) % cols;
    const int row = (cell - 1) / cols;
    return Bounds(column * cellSize.Width, row * cellSize.Height, cellSize.Width, cellSize.Height);
}

TRect GridArea(int cells, int cols, TSize cellSize)
{
    return Rect(0, 0, cols * cellSize.Width, GridRows(cells, cols) * cellSize.Height);
}

std::int64_t GridCellAt(TPoint point, int cols, TSize cellSize)
{
    if (cellSize.Width <= 0 || cellSize.Height <= 0)
        return 0;
    const std::int64_t column = point.X / cellSize.Width + 1;
    if (column > cols)
        return 0;
    return column + std::int64_t{point.Y / cellSize.Height} * cols;
}

std::int64_t GridRunPositionAt(TPoint point, int cols, TSize cellSize)
{
    if (cellSize.Width <= 0 || cellSize.Height <= 0)
        return 0;
    return std::int64_t{point.Y / cellSize.Height} * cols + point.X / cellSize.Width + 1;
}

// ---------------------------------------------------------------------------------------
// Automatic captions

namespace {

// One character an entry, in the order of the syllabary: the 46 plain syllables, the 20
// voiced and the 5 half-voiced ones.
constexpr std::u16string_view HiraganaTable =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    u"がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
constexpr std::u16string_view KatakanaTable =
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    u"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
constexpr std::u16string_view LetterTable = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
static_assert(HiraganaTable.size() == 71 && KatakanaTable.size() == 71 && LetterTable.size() == 26);

enum TLetterCase : unsigned char { lcCapital, lcSmall };

// The first length bytes of text in code page 932, where the tables are matched. A
// character without a code there ends the key; such a key matches no entry.
QByteArray ShiftJisKey(const QString& text, int length)
{
    QByteArray key;
    for (qsizetype i = 0; i < text.size() && key.size() < length; ++i) {
        const std::optional<QByteArray> bytes = TryEncodeShiftJis(QString(text[i]));
        if (!bytes)
            break;
        key += *bytes;
    }
    return key.left(length);
}

QString LetterEntry(std::size_t position, TLetterCase letterCase)
{
    const QChar letter(LetterTable[position]);
    return letterCase == lcSmall ? letter.toLower() : letter;
}

// The lowest position whose Shift-JIS entry equals the key byte for byte; 0 when none.
std::size_t KanaStart(std::u16string_view table, const QString& first)
{
    const QByteArray key = ShiftJisKey(first, 2);
    for (std::size_t position = 0; position < table.size(); ++position) {
        if (TryEncodeShiftJis(QString(QChar(table[position]))) == key)
            return position;
    }
    return 0;
}

std::size_t LetterStart(TLetterCase letterCase, const QString& first)
{
    const QByteArray key = ShiftJisKey(first, 1);
    for (std::size_t position = 0; position < LetterTable.size(); ++position) {
        if (LetterEntry(position, letterCase).toLatin1() == key)
            return position;
    }
    return 0;
}

QStringList KanaRun(std::u16string_view table, const QString& first, int count)
{
    QStringList run;
    const std::size_t start = KanaStart(table, first);
    for (int i = 0; i < count; ++i) {
        const std::size_t position = start + i;
        run.push_back(position < table.size() ? QString(QChar(table[position])) : QString());
    }
    return run;
}

QStringList LetterRun(TLetterCase letterCase, const QString& first, int count)
{
    QStringList run;
    const std::size_t start = LetterStart(letterCase, first);
    for (int i = 0; i < count; ++i) {
        const std::size_t position = start + i;
        run.push_back(position < LetterTable.size() ? LetterEntry(position, letterCase) : QString());
    }
    return run;
}

QStringList NumberRun(const QString& first, int count)
{
    QStringList run;
    const std::int32_t start = TryStrToInt(first).value_or(1);
    for (int i = 0; i < count; ++i) {
        // 32-bit arithmetic that wraps past the largest integer instead of failing.
        const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(i));
        run.push_back(QString::number(number));
    }
    return run;
}

} // namespace

QStringList AutoCaptions(TManyBtn::TAutoCaption mode, const QString& first, int count)
{
    switch (mode) {
    case TManyBtn::acHKana: return KanaRun(HiraganaTable, first, count);
    case TManyBtn::acKKana: return KanaRun(KatakanaTable, first, count);
    case TManyBtn::acAbcBig: return LetterRun(lcCapital, first, count);
    case TManyBtn::acAbcSmall: return LetterRun(lcSmall, first, count);
    case TManyBtn::acNumber: return NumberRun(first, count);
    case TManyBtn::acNone: break;
    }
    return QStringList();
}

// ---------------------------------------------------------------------------------------
// The control

TManyBtn::TManyBtn(QWidget* parent)
    : TGraphicControl(parent)
{
    resize(0, 0); // a control made in code has no size until it is given one
    FCaptions.Add(QString());
    FImage.SetSize(width(), height());
}

TManyBtn::~TManyBtn() = default;

QString TManyBtn::GetCellCaption(int cell) const
{
    if (cell < 1 || cell > FCells)
        cell = 1;
    return FCaptions.Get(cell - 1);
}

void TManyBtn::SetCellCaption(int cell, const QString& caption)
{
    if (cell < 1)
        return;
    if (cell <= FCaptions.Count())
        FCaptions.Put(cell - 1, caption);
    else
        FCaptions.Add(caption);
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
    const int h = FCellWidth - canvas.TextWidth(caption);
    if (v < FCellHeight / 15 || h < FCellWidth / 15)
        return; // a caption that does not fit is left out, never clipped
    const int offset = down && v > 3 && h > 3 ? 1 : 0;
    canvas.TextOut(r.Left + h / 2 + offset, r.Top + v / 2 + offset, caption);
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
    RedrawCell(FPreviousCell, csRaised);
    RedrawCell(FPressedCell, csPressed);
    SetSelectedCell(FPressedCell);
    FCaption = GetCellCaption(FPressedCell);
    if (!FAllowRadio)
        FHeld = true;
    TGraphicControl::MouseDown(button, shift, x, y);
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

void TManyBtn::SetBackColor(TColor color)
{
    if (color == FBackColor)
        return;
    FBackColor = color;
    LayoutChanged();
}

void TManyBtn::SetMarginErase(bool marginErase)
{
    FMarginErase = marginErase;
    LayoutChanged();
}

void TManyBtn::SetCaptions(TStrings& list)
{
    if (list.Count() == 0)
        list.Add(QString());
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
