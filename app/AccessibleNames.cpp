#include "app/AccessibleNames.h"

#include "app/Form1.h"
#include "components/widgets/GradBox.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/CaptionName.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SpinEdit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QToolButton>
#include <array>

namespace {

// The mix cells say what each raster operation makes of the text and the gradient.
const std::array<const char*, 4> MixCells{
    N_("A 黒地にグラデーション文字"),
    N_("B 白地にグラデーション文字"),
    N_("C 反転したグラデーションにグラデーション文字"),
    N_("D グラデーションに黒い文字"),
};
const std::array<const char*, 4> DirectionCells{N_("上から下"), N_("左から右"), N_("下から上"), N_("右から左")};
const std::array<const char*, 2> ColorCells{N_("色１"), N_("色２")};
const std::array<const char*, 2> TextCells{N_("フォント"), N_("背景色")};
const char* const TextGrid = N_("フォントと背景");
// The margin fields' labels, as the form gives them.
const char* const HorizontalField = NC_("margin field", "横");
const char* const VerticalField = NC_("margin field", "縦");
const char* const StepUp = N_("%1を増やす");
const char* const StepDown = N_("%1を減らす");
const char* const AboutButton = N_("Vezodev について");
const char* const TextPane = N_("テキスト");
const char* const GradientPane = N_("グラデーション");
const char* const LogoPane = N_("完成したロゴ");
const char* const ColorFormat = N_("赤 %1 緑 %2 青 %3");

template <std::size_t N>
QString Entry(const std::array<const char*, N>& table, int cell)
{
    return cell >= 1 && cell <= static_cast<int>(N) ? Tr(table[cell - 1]) : QString();
}

// A margin field is named by its label's text, which English shortens to a letter for
// the label alone; the name the reader speaks is translated in its own context.
void NameField(TSpinEdit& field, const char* caption)
{
    const QString name = CaptionName(Tr("margin field", caption));
    field.setAccessibleName(name);
    field.Editor()->setAccessibleName(name);
    field.UpButton()->setAccessibleName(Tr(StepUp).arg(name));
    field.DownButton()->setAccessibleName(Tr(StepDown).arg(name));
}

// The main window is a plain widget, which Qt shows a reader as a filler; a reader
// introduces a window by its frame.
QAccessibleInterface* MainWindowAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(TForm1::staticMetaObject.className()) || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

void Notify(QObject* object, QAccessible::Event type, int child = -1)
{
    QAccessibleEvent event(object, type);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}

} // namespace

QString TAccessibleNames::MixCell(int cell) { return Entry(MixCells, cell); }

QString TAccessibleNames::DirectionCell(int cell) { return Entry(DirectionCells, cell); }

QString TAccessibleNames::ColorName(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return Tr(ColorFormat).arg(rgb & 0xFF).arg((rgb >> 8) & 0xFF).arg((rgb >> 16) & 0xFF);
}

QString TAccessibleNames::ColorCell(int cell, TColor color)
{
    const QString name = Entry(ColorCells, cell);
    return name.isEmpty() ? name : name + QStringLiteral(" (") + ColorName(color) + QLatin1Char(')');
}

QString TAccessibleNames::TextCell(int cell, const QString& fontName, TColor background)
{
    const QString name = Entry(TextCells, cell);
    if (cell == 1)
        return name + QStringLiteral(" (") + fontName + QLatin1Char(')');
    if (cell == 2)
        return name + QStringLiteral(" (") + ColorName(background) + QLatin1Char(')');
    return name;
}

void TAccessibleNames::Apply(TForm1& form)
{
    static const bool installed = [] {
        QAccessible::installFactory(&MainWindowAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    form.MbText->setAccessibleName(Tr(TextGrid));
    form.MbMix->setAccessibleName(CaptionName(form.Label3->Caption()));
    form.MbGra->setAccessibleName(CaptionName(form.Label6->Caption()));
    form.MbColor->setAccessibleName(CaptionName(form.Label2->Caption()));
    form.MbMix->OnGetCellName = [](int cell) { return MixCell(cell); };
    form.MbGra->OnGetCellName = [](int cell) { return DirectionCell(cell); };
    form.MbColor->OnGetCellName = [&form](int cell) {
        return ColorCell(cell, cell == 1 ? form.Gbox->TopColor() : form.Gbox->LastColor());
    };
    form.MbText->OnGetCellName = [&form](int cell) {
        return TextCell(cell, form.Label1->Font().Name(), form.CurrentParams().BgColor);
    };
    NameField(*form.EdHs, HorizontalField);
    NameField(*form.EdVs, VerticalField);
    form.SpeedButton3->setAccessibleName(Tr(AboutButton));
    form.Pbox->setAccessibleName(Tr(TextPane));
    form.Gbox->setAccessibleName(Tr(GradientPane));
    form.Img->setAccessibleName(Tr(LogoPane));
    // Every change of a colour, the font or a size ends in a build.
    QObject::connect(&form, &TForm1::LogoShown, &form, [&form] {
        if (!QAccessible::isActive())
            return;
        for (QObject* pane : {static_cast<QObject*>(form.Pbox), static_cast<QObject*>(form.Gbox), static_cast<QObject*>(form.Img)})
            Notify(pane, QAccessible::DescriptionChanged);
        for (TManyBtn* grid : {form.MbText, form.MbColor})
            for (int cell = 1; cell <= grid->Cells(); ++cell)
                Notify(grid, QAccessible::NameChanged, cell - 1);
    });
}
