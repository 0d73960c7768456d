// Times the main window: from a parameter change to the rebuilt composite, for the
// default logo and for a large one, and from the window's creation to its first logo.
#include "platform/widgets/BitmapImage.h"
#include "app/Form1.h"
#include "BenchMain.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/SpinEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

QTemporaryDir* Folder = nullptr;
TForm1* Form = nullptr;

void UseLargeLogo(bool large)
{
    // The large logo is about 4000 x 600 pixels.
    Form->Label1->Font().SetHeight(large ? -540 : -29);
    Form->Edit1->setText(large ? QStringLiteral("Vezodev logos 12") : QStringLiteral("Vezodev"));
}

// Alternates the margin between two values: each change rebuilds the whole logo.
void MarginChange(benchmark::State& state)
{
    UseLargeLogo(state.range(0) != 0);
    int margin = 0;
    for (auto _ : state) {
        Form->EdHs->SetText(QString::number(margin));
        margin = 1 - margin;
        benchmark::DoNotOptimize(Form->Img->Picture().Bits());
    }
    const QImage& composite = BitmapImage(Form->Img->Picture());
    state.SetLabel(QStringLiteral("%1 x %2").arg(composite.width()).arg(composite.height()).toStdString());
}
BENCHMARK(MarginChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Walks the four mix cells: the composite changes, the size does not.
void MixChange(benchmark::State& state)
{
    UseLargeLogo(state.range(0) != 0);
    int cell = 1;
    for (auto _ : state) {
        Form->MbMix->SetSelectedCell(cell);
        Form->MbMixMouseDown(Form->MbMix, mbLeft, 0, 0, 0);
        cell = cell % 4 + 1;
    }
}
BENCHMARK(MixChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    TBenchMain::PreferOffscreen();
    QApplication application(argc, argv);
    TForm1::InitializeApplication();
    QTemporaryDir folder;
    Folder = &folder;
    auto form = std::make_unique<TForm1>(nullptr, folder.filePath(QStringLiteral("vezodev")));
    form->show();
    std::printf("Start to first logo (application object, window, first build): %.1f ms\n", sinceStart.nsecsElapsed() / 1e6);
    Form = form.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    form.reset();
    return 0;
}
