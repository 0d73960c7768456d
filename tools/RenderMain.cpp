#include "composer/LogoComposer.h"
#include "platform/base/Exception.h"
#include "platform/base/TemporaryFile.h"
#include "platform/base/Tr.h"
#include "platform/base/UiLanguage.h"
#include "tools/BatchRunner.h"
#include "tools/Console.h"
#include "tools/ExitStatus.h"
#include "tools/RenderBatch.h"
#include "tools/RenderJob.h"
#include "tools/RenderOptions.h"
#include "tools/StopSignals.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <set>
#include <unistd.h>

namespace {

// One logo, as the options ask; the exit status.
int RunSingle(TRenderOptions options)
{
    // A missing settings file or style is a bad argument.
    try {
        options = TRenderJob::WithSettings(options);
    } catch (const EUsageError& error) {
        TConsole::Error(error.Message());
        return ExitBadArgument;
    } catch (const Exception& error) {
        TConsole::Error(error.Message());
        return ExitFailed;
    }
    // A signal removes the file being written; the old one stays.
    TStopSignals::Watch([](int signal) {
        TTemporaryFile::RemoveAll();
        std::_Exit(TStopSignals::ExitStatus(signal));
    });
    TWorkspace work;
    TLineReport report;
    std::set<char32_t> named;
    QString failure;
    try {
        TRenderJob::Run(options, work, report);
    } catch (const Exception& error) {
        failure = error.Message();
    } catch (const std::bad_alloc&) {
        failure = Tr("out of memory");
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    TConsole::Report(report, named);
    if (!failure.isEmpty())
        TConsole::Error(failure);
    return !failure.isEmpty() || TConsole::OutFailed() ? ExitFailed : ExitDone;
}

} // namespace

int main(int argc, char** argv)
{
    TStopSignals::Block();
    SetUiLanguage(ChooseUiLanguage(UiLanguagesOfEnvironment()), LocaleFolderOf("/proc/self/exe"));
    // Arguments are read as UTF-8 whatever the locale.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(QString::fromUtf8(argv[i]));
    TRenderOptions options;
    try {
        options = TRenderOptions::Parse(arguments);
    } catch (const EUsageError& error) {
        TConsole::Error(error.Message() + Tr(" (see --help)"));
        return ExitBadArgument;
    }
    int status = ExitDone;
    if (options.Help) {
        status = TConsole::Out(TRenderOptions::HelpText()) ? ExitDone : ExitFailed;
    } else if (options.Version) {
        status = TConsole::Out(TRenderOptions::VersionText()) ? ExitDone : ExitFailed;
    } else if (options.ToStandardOutput() && isatty(STDOUT_FILENO)) {
        // An image is no text for a terminal to show.
        TConsole::Error(Tr("-o -: standard output is a terminal; redirect it to a file or a pipe"));
        status = ExitBadArgument;
    } else if (options.BatchPath.isEmpty()) {
        status = RunSingle(options);
    } else {
        try {
            status = TRenderBatch::Run(options.BatchPath, options.Jobs);
        } catch (const Exception& error) {
            TConsole::Error(error.Message());
            status = ExitFailed;
        } catch (const std::bad_alloc&) {
            TConsole::Error(Tr("out of memory"));
            status = ExitFailed;
        }
    }
    // The file is in place or the error reported: nothing is left to do. Tearing down
    // the font caches would only give back memory the kernel reclaims at exit anyway,
    // so the process ends here.
    std::fflush(stdout);
    std::_Exit(status);
}
