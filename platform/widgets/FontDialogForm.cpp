#include "platform/widgets/FontDialogForm.h"

#include "platform/widgets/Tr.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/QtColor.h"
#include "platform/widgets/QtFontSubstitutions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The sizes the size box offers; any other positive size may be typed.
constexpr int OfferedPoints[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Large sizes would only widen the dialog; the sample shows them cut off at this height.
constexpr int SamplePixelLimit = 160;

QIcon ColorSwatch(TColor color)
{
    QPixmap swatch(24, 12);
    swatch.fill(ToQColor(color));
    return QIcon(swatch);
}

// A caption above or beside a list, bound to it so that a screen reader finds the caption
// as the list's label (a list's own name is its current entry).
QLabel* CaptionFor(const QString& caption, QWidget* list, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(list);
    return label;
}

} // namespace

TFontDialogForm::TFontDialogForm(const TFontDialogState& state, QWidget* owner)
    : QDialog(owner), FFaceBox(new QComboBox(this)), FStyleBox(new QComboBox(this)), FSizeBox(new QComboBox(this)),
      FStrikeOutBox(new QCheckBox(Tr("取り消し線"), this)),
      FUnderlineBox(new QCheckBox(Tr("下線"), this)), FColorBox(new QComboBox(this)),
      FSample(new QLabel(Tr("Aaあぁアァ亜宇"), this)),
      FButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      FColors(FontDialogColors(state.Color))
{
    InstallQtFontSubstitutions();
    setWindowTitle(Tr("フォント"));

    FFaceBox->setObjectName(QStringLiteral("FaceBox"));
    FFaceBox->setEditable(true);
    FFaceBox->setInsertPolicy(QComboBox::NoInsert);
    FFaceBox->addItems(QFontDatabase::families());
    FFaceBox->setEditText(state.Face);
    FFaceBox->setMinimumWidth(180);

    FStyleBox->setObjectName(QStringLiteral("StyleBox"));
    FStyleBox->addItems({Tr("標準"), Tr("斜体"), Tr("太字"), Tr("太字 斜体")});
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
    lists->addWidget(CaptionFor(Tr("フォント名:"), FFaceBox, this), 0, 0);
    lists->addWidget(CaptionFor(Tr("スタイル:"), FStyleBox, this), 0, 1);
    lists->addWidget(CaptionFor(Tr("サイズ:"), FSizeBox, this), 0, 2);
    lists->addWidget(FFaceBox, 1, 0);
    lists->addWidget(FStyleBox, 1, 1);
    lists->addWidget(FSizeBox, 1, 2);

    auto* effects = new QGroupBox(Tr("文字飾り"), this);
    auto* effectsLayout = new QGridLayout(effects);
    effectsLayout->addWidget(FStrikeOutBox, 0, 0, 1, 2);
    effectsLayout->addWidget(FUnderlineBox, 1, 0, 1, 2);
    effectsLayout->addWidget(CaptionFor(Tr("色"), FColorBox, effects), 2, 0);
    effectsLayout->addWidget(FColorBox, 2, 1);

    auto* sample = new QGroupBox(Tr("見本"), this);
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

    SetDialogButtonTexts(*FButtons);
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
    palette.setColor(QPalette::WindowText, ToQColor(state.Color));
    FSample->setPalette(palette);
}
