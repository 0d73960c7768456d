#include "platform/widgets/CommonDialogs.h"

#include <QCheckBox>
#include <QColor>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

std::function<bool(TColorDialog&)> TColorDialog::Answerer;
std::function<bool(TFontDialog&)> TFontDialog::Answerer;
std::function<bool(TSaveDialog&)> TSaveDialog::Answerer;

namespace {

const QString OkText = QStringLiteral("OK");
const QString CancelText = QStringLiteral("キャンセル");

void SetButtonTexts(QDialogButtonBox& buttons)
{
    if (QPushButton* ok = buttons.button(QDialogButtonBox::Ok))
        ok->setText(OkText);
    if (QPushButton* cancel = buttons.button(QDialogButtonBox::Cancel))
        cancel->setText(CancelText);
}

// The sizes the size box offers; any other positive size may be typed.
constexpr int OfferedPoints[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Large sizes would only widen the dialog; the sample shows them cut off at this height.
constexpr int SamplePixelLimit = 160;

QIcon ColorSwatch(TColor color)
{
    QPixmap swatch(24, 12);
    swatch.fill(ColorToQColor(color));
    return QIcon(swatch);
}

// The font dialog's window. It holds no state of its own: the widgets are the state,
// read back by State.
class TFontDialogForm : public QDialog {
public:
    TFontDialogForm(const TFontDialogState& state, QWidget* owner);

    TFontDialogState State() const;

private:
    void StateChanged();

    QComboBox* FFaceBox;
    QComboBox* FStyleBox;
    QComboBox* FSizeBox;
    QCheckBox* FStrikeOutBox;
    QCheckBox* FUnderlineBox;
    QComboBox* FColorBox;
    QLabel* FSample;
    QDialogButtonBox* FButtons;
    QList<TNamedColor> FColors;
};

TFontDialogForm::TFontDialogForm(const TFontDialogState& state, QWidget* owner)
    : QDialog(owner), FFaceBox(new QComboBox(this)), FStyleBox(new QComboBox(this)), FSizeBox(new QComboBox(this)),
      FStrikeOutBox(new QCheckBox(QStringLiteral("取り消し線"), this)),
      FUnderlineBox(new QCheckBox(QStringLiteral("下線"), this)), FColorBox(new QComboBox(this)),
      FSample(new QLabel(QStringLiteral("Aaあぁアァ亜宇"), this)),
      FButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      FColors(FontDialogColors(state.Color))
{
    setWindowTitle(QStringLiteral("フォント"));

    FFaceBox->setObjectName(QStringLiteral("FaceBox"));
    FFaceBox->setEditable(true);
    FFaceBox->setInsertPolicy(QComboBox::NoInsert);
    FFaceBox->addItems(QFontDatabase::families());
    FFaceBox->setEditText(state.Face);
    FFaceBox->setMinimumWidth(180);

    FStyleBox->setObjectName(QStringLiteral("StyleBox"));
    FStyleBox->addItems({QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"), QStringLiteral("太字 斜体")});
    FStyleBox->setCurrentIndex(FontStyleIndex(state.Style));

    FSizeBox->setObjectName(QStringLiteral("SizeBox"));
    FSizeBox->setEditable(true);
    FSizeBox->setInsertPolicy(QComboBox::NoInsert);
    for (int points : OfferedPoints)
        FSizeBox->addItem(QString::number(points));
    FSizeBox->setEditText(state.Points > 0 ? QString::number(state.Points) : QString());

    FStrikeOutBox->setObjectName(QStringLiteral("StrikeOutBox"));
    FStrikeOutBox->setChecked((state.Style & fsStrikeOut) != 0);
    FUnderlineBox->setObjectName(QStringLiteral("UnderlineBox"));
    FUnderlineBox->setChecked((state.Style & fsUnderline) != 0);

    FColorBox->setObjectName(QStringLiteral("ColorBox"));
    for (const TNamedColor& entry : FColors)
        FColorBox->addItem(ColorSwatch(entry.Color), entry.Name);
    const auto current = std::find_if(FColors.cbegin(), FColors.cend(),
                                      [&](const TNamedColor& entry) { return entry.Color == state.Color; });
    FColorBox->setCurrentIndex(static_cast<int>(current - FColors.cbegin()));

    FSample->setObjectName(QStringLiteral("Sample"));
    FSample->setAlignment(Qt::AlignCenter);
    FSample->setFixedSize(240, 72);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("フォント名:"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("スタイル:"), this), 0, 1);
    lists->addWidget(new QLabel(QStringLiteral("サイズ:"), this), 0, 2);
    lists->addWidget(FFaceBox, 1, 0);
    lists->addWidget(FStyleBox, 1, 1);
    lists->addWidget(FSizeBox, 1, 2);

    auto* effects = new QGroupBox(QStringLiteral("文字飾り"), this);
    auto* effectsLayout = new QGridLayout(effects);
    effectsLayout->addWidget(FStrikeOutBox, 0, 0, 1, 2);
    effectsLayout->addWidget(FUnderlineBox, 1, 0, 1, 2);
    effectsLayout->addWidget(new QLabel(QStringLiteral("色"), effects), 2, 0);
    effectsLayout->addWidget(FColorBox, 2, 1);

    auto* sample = new QGroupBox(QStringLiteral("見本"), this);
    auto* sampleLayout = new QVBoxLayout(sample);
    sampleLayout->addWidget(FSample);

    auto* lower = new QHBoxLayout;
    lower->addWidget(effects);
    lower->addWidget(sample, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(lower);
    layout->addWidget(FButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetButtonTexts(*FButtons);
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FFaceBox, &QComboBox::currentTextChanged, this, [this] { StateChanged(); });
    connect(FStyleBox, &QComboBox::currentIndexChanged, this, [this] { StateChanged(); });
    connect(FSizeBox, &QComboBox::currentTextChanged, this, [this] { StateChanged(); });
    connect(FStrikeOutBox, &QCheckBox::toggled, this, [this] { StateChanged(); });
    connect(FUnderlineBox, &QCheckBox::toggled, this, [this] { StateChanged(); });
    connect(FColorBox, &QComboBox::currentIndexChanged, this, [this] { StateChanged(); });
    StateChanged();
}

TFontDialogState TFontDialogForm::State() const
{
    TFontDialogState state;
    state.Face = FFaceBox->currentText().trimmed();
    state.Points = ParseFontPoints(FSizeBox->currentText()).value_or(0);
    state.Style = FontStyleOfIndex(FStyleBox->currentIndex());
    if (FStrikeOutBox->isChecked())
        state.Style |= fsStrikeOut;
    if (FUnderlineBox->isChecked())
        state.Style |= fsUnderline;
    const int colorIndex = FColorBox->currentIndex();
    state.Color = colorIndex >= 0 && colorIndex < FColors.size() ? FColors[colorIndex].Color : clBlack;
    return state;
}

// Redraws the sample and allows OK only for a face and a valid size.
void TFontDialogForm::StateChanged()
{
    const TFontDialogState state = State();
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(!state.Face.isEmpty() && state.Points > 0);

    QFont font(state.Face);
    if (state.Points > 0)
        font.setPixelSize(std::clamp(MulDiv(state.Points, PixelsPerInch, 72), 1, SamplePixelLimit));
    font.setBold((state.Style & fsBold) != 0);
    font.setItalic((state.Style & fsItalic) != 0);
    font.setUnderline((state.Style & fsUnderline) != 0);
    font.setStrikeOut((state.Style & fsStrikeOut) != 0);
    FSample->setFont(font);
    QPalette palette = FSample->palette();
    palette.setColor(QPalette::WindowText, ColorToQColor(state.Color));
    FSample->setPalette(palette);
}

} // namespace

QColor ColorToQColor(TColor color)
{
    return QColor::fromRgb(RGBToPixel(ColorToRGB(color)));
}

TColor QColorToColor(const QColor& color)
{
    return PixelToRGB(color.rgb());
}

bool TColorDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    // Qt's own dialog always shows the basic and the custom colours; a desktop's
    // native chooser may not.
    // The colour is preset after the option, which builds those widgets.
    QColorDialog dialog(owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(ColorToQColor(FColor));
    dialog.setWindowTitle(QStringLiteral("色の設定"));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        SetButtonTexts(*buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    FColor = QColorToColor(dialog.selectedColor());
    return true;
}

TFontDialogState FontDialogStateOf(const TFont& font)
{
    TFontDialogState state;
    state.Face = font.Name();
    state.Points = std::abs(font.Size());
    state.Style = font.Style() & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    state.Color = ColorToRGB(font.Color());
    return state;
}

void ApplyFontDialogState(const TFontDialogState& state, TFont& font)
{
    // Built apart and assigned once, so the font reports one change, not four.
    TFont chosen(font);
    chosen.SetName(state.Face);
    chosen.SetHeight(-MulDiv(state.Points, PixelsPerInch, 72));
    chosen.SetStyle(state.Style);
    chosen.SetColor(state.Color);
    font.Assign(chosen);
}

int FontStyleIndex(TFontStyles style)
{
    return ((style & fsBold) != 0 ? 2 : 0) + ((style & fsItalic) != 0 ? 1 : 0);
}

TFontStyles FontStyleOfIndex(int index)
{
    if (index < 0 || index > 3)
        return 0;
    TFontStyles style = 0;
    if ((index & 2) != 0)
        style |= fsBold;
    if ((index & 1) != 0)
        style |= fsItalic;
    return style;
}

std::optional<int> ParseFontPoints(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar ch) { return ch.isDigit() && ch.unicode() < 0x80; }))
        return std::nullopt;
    bool ok = false;
    const int points = trimmed.toInt(&ok);
    // MulDiv answers -1 when the height would not fit.
    if (!ok || points <= 0 || MulDiv(points, PixelsPerInch, 72) == -1)
        return std::nullopt;
    return points;
}

QList<TNamedColor> FontDialogColors(TColor current)
{
    QList<TNamedColor> colors = {
        {QStringLiteral("黒"), 0x000000},     {QStringLiteral("栗色"), 0x000080}, {QStringLiteral("緑"), 0x008000},
        {QStringLiteral("オリーブ"), 0x008080}, {QStringLiteral("紺"), 0x800000},   {QStringLiteral("紫"), 0x800080},
        {QStringLiteral("青緑"), 0x808000},   {QStringLiteral("灰色"), 0x808080}, {QStringLiteral("銀色"), 0xC0C0C0},
        {QStringLiteral("赤"), 0x0000FF},     {QStringLiteral("ライム"), 0x00FF00}, {QStringLiteral("黄"), 0x00FFFF},
        {QStringLiteral("青"), 0xFF0000},     {QStringLiteral("赤紫"), 0xFF00FF}, {QStringLiteral("水色"), 0xFFFF00},
        {QStringLiteral("白"), 0xFFFFFF},
    };
    const bool listed = std::any_of(colors.cbegin(), colors.cend(), [&](const TNamedColor& entry) { return entry.Color == current; });
    if (!listed)
        colors.append({QStringLiteral("カスタム"), current});
    return colors;
}

bool TFontDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    TFontDialogForm form(FontDialogStateOf(FFont), owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    ApplyFontDialogState(form.State(), FFont);
    return true;
}

QStringList QtNameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (!patterns.isEmpty())
            filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

bool TSaveDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    // Qt's own dialog, because the options below (no overwrite question, descriptions
    // without their patterns) are not honoured by every native one.
    QFileDialog dialog(owner, FTitle.isEmpty() ? QStringLiteral("名前を付けて保存") : FTitle);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
    dialog.setLabelText(QFileDialog::Reject, CancelText);
    const QStringList filters = QtNameFilters(FFilter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(FFilterIndex - 1, filters.first()));
    }
    if (!FFileName.isEmpty()) {
        const QFileInfo preset(FFileName);
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    FFileName = chosen.first();
    // With the patterns hidden the dialog names a filter by its description alone.
    const QString chosenFilter = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosenFilter || filters[i].startsWith(chosenFilter + QStringLiteral(" (")))
            FFilterIndex = int(i) + 1;
    }
    return true;
}
