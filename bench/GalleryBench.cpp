// Times the style gallery over a settings file of 200 styles: from opening the window
// to its first row of logos, and to the last.
#include "app/StyleGallery.h"
#include "BenchMain.h"
#include "components/settings/IniGT.h"
#include "platform/widgets/QtText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int StyleCount = 200;

// Styles of every mix and direction, some with other fonts, margins or smooth edges.
QByteArray SettingsWithStyles()
{
    const char* fonts[] = {"Times New Roman", "DejaVu Sans", "Liberation Serif", "DejaVu Serif"};
    QByteArray bytes = "[STYLES]\r\nSTYLE.Count=" + QByteArray::number(StyleCount) + "\r\n";
    for (int i = 0; i < StyleCount; ++i)
        bytes += "STYLE." + QByteArray::number(i) + "=Style " + QByteArray::number(i) + "\r\n";
    for (int i = 0; i < StyleCount; ++i) {
        bytes += "[Style " + QByteArray::number(i) + "]\r\n";
        bytes += "BGCOLOR=0x00" + QByteArray::number((0x102030 * (i % 7)) & 0xFFFFFF, 16).rightJustified(6, '0') + "\r\n";
        bytes += "TOPCOLOR=0x00" + QByteArray::number((0x0A1F33 * i) & 0xFFFFFF, 16).rightJustified(6, '0') + "\r\n";
        bytes += "LASTCOLOR=0x0000FF00\r\n";
        bytes += QByteArray("FONT.Name=") + fonts[i % 4] + "\r\nFONT.Size=" + QByteArray::number(16 + i % 9) + "\r\n";
        bytes += "FONT.Style=" + QByteArray::number(i % 4) + "\r\nFONT.Color=0x00000000\r\nTEXT=Style\r\n";
        bytes += "MIXTYPE=" + QByteArray::number(i % 4 + 1) + "\r\nGRATYPE=" + QByteArray::number(i / 4 % 4 + 1) + "\r\n";
        bytes += "HSPACE=" + QByteArray::number(i % 11) + "\r\nVSPACE=" + QByteArray::number(i % 5) + "\r\n";
        if (i % 10 == 0)
            bytes += "SMOOTH=4\r\n";
    }
    return bytes;
}

void BM_GalleryOf200Styles(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Vezodev.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(SettingsWithStyles());
    file.close();
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(ToText(path));
    QStringList styles;
    for (int i = 0; i < StyleCount; ++i)
        styles << QStringLiteral("Style %1").arg(i);
    const TLogoParams base = TLogoParams::Defaults();
    double firstRow = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        TStyleGallery gallery(ini, nullptr);
        gallery.SetBase(base);
        gallery.SetStyles(styles);
        gallery.show();
        const int perRow = std::max(1, gallery.List()->viewport()->width() / gallery.List()->gridSize().width());
        while (gallery.BuiltCount() < perRow)
            QCoreApplication::processEvents();
        firstRow = clock.nsecsElapsed() / 1e6;
        while (!gallery.Finished())
            QCoreApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        state.counters["first_row_ms"] = firstRow;
        state.counters["tiles_per_row"] = perRow;
    }
}
BENCHMARK(BM_GalleryOf200Styles)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    TBenchMain::PreferOffscreen();
    QApplication application(argc, argv);
    return TBenchMain::Run(&argc, argv);
}
