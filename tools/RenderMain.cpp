#include "composer/LogoComposer.h"
#include "platform/base/Exception.h"
#include "platform/base/TemporaryFile.h"
#include "platform/base/UnicodeText.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/AtomicFile.h"
#include "tools/BatchReport.h"
#include "tools/BatchRunner.h"
#include "tools/Console.h"
#include "tools/ExitStatus.h"
#include "tools/RenderBatch.h"
#include "tools/RenderJob.h"
#include "tools/RenderOptions.h"
#include "tools/StopSignals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

// The report's stream, or null when none is asked for or it cannot be opened (then
// failed is set and the reason said).
std::FILE* OpenReport(const TRenderOptions& options, bool& failed)
{
    failed = false;
    if (!options.ReportPath)
        return nullptr;
    if (*options.ReportPath == u"-")
        return stdout;
    std::FILE* stream = std::fopen(TextToUtf8(*options.ReportPath).c_str(), "we");
    if (!stream) {
        TConsole::Error(Format(TrText("--report: cannot write '%1' (%2)"), {*options.ReportPath, SystemErrorText(errno)}));
        failed = true;
    }
    return stream;
}

// The report of a single logo, as of the first line of a batch.
bool WriteReport(TBatchReport& report, const TLineReport& line, const std::u16string& failure)
{
    TReportEntry entry;
    entry.Line = 1;
    if (!line.Path.empty())
        entry.Path = TextToUtf8(line.Path);
    if (line.Width >= 0 && line.Height >= 0) {
        entry.Width = line.Width;
        entry.Height = line.Height;
    }
    if (!failure.empty())
        entry.Error = TextToUtf8(failure);
    report.Add(entry);
    if (report.Flush())
        return true;
    TConsole::Error(Format(TrText("--report: %1"), {SystemErrorText(report.Error())}));
    return false;
}

// One logo, as the options ask; the exit status.
int RunSingle(TRenderOptions options, TBatchReport* batchReport)
{
    // A missing settings file or style is a bad argument.
    const auto refuse = [&](const std::u16string& message, int status) {
        TConsole::Error(message);
        TLineReport report;
        if (!options.ToStandardOutput())
            report.Path = options.OutputPath;
        if (batchReport)
            WriteReport(*batchReport, report, message);
        return status;
    };
    try {
        options = TRenderJob::WithSettings(options);
    } catch (const EUsageError& error) {
        return refuse(error.Message(), ExitBadArgument);
    } catch (const Exception& error) {
        return refuse(error.Message(), ExitFailed);
    }
    // A signal removes the file being written; the old one stays.
    TStopSignals::Watch([](int signal) {
        TTemporaryFile::RemoveAll();
        std::_Exit(TStopSignals::ExitStatus(signal));
    });
    TWorkspace work;
    TLineReport report;
    std::set<char32_t> named;
    std::u16string failure;
    try {
        TRenderJob::Run(options, work, report);
    } catch (const Exception& error) {
        failure = error.Message();
    } catch (const std::bad_alloc&) {
        failure = TrText("out of memory");
    } catch (const std::exception& error) {
        failure = Utf8ToText(error.what());
    }
    TConsole::Report(report, named);
    if (!failure.empty())
        TConsole::Error(failure);
    const bool reported = !batchReport || WriteReport(*batchReport, report, failure);
    return !failure.empty() || TConsole::OutFailed() || !reported ? ExitFailed : ExitDone;
}

// The logo or the batch the options ask for; the exit status.
int Render(const TRenderOptions& options)
{
    bool failed = false;
    std::FILE* const stream = OpenReport(options, failed);
    if (failed)
        return ExitBadArgument;
    TBatchReport report(stream);
    TBatchReport* const reportTo = stream ? &report : nullptr;
    if (options.BatchPath.empty())
        return RunSingle(options, reportTo);
    try {
        return TRenderBatch::Run(options.BatchPath, options.Jobs, reportTo);
    } catch (const Exception& error) {
        TConsole::Error(error.Message());
    } catch (const std::bad_alloc&) {
        TConsole::Error(TrText("out of memory"));
    }
    return ExitFailed;
}

} // namespace

int main(int argc, char** argv)
{
    TStopSignals::Block();
    SetUiLanguage(ChooseUiLanguage(UiLanguagesOfEnvironment()), LocaleFolderOf("/proc/self/exe"));
    // Arguments are read as UTF-8 whatever the locale.
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8ToText(argv[i]));
    TRenderOptions options;
    try {
        options = TRenderOptions::Parse(arguments);
    } catch (const EUsageError& error) {
        TConsole::Error(error.Message() + TrText(" (see --help)"));
        return ExitBadArgument;
    }
    int status = ExitDone;
    if (options.Help) {
        status = TConsole::Out(TRenderOptions::HelpText()) ? ExitDone : ExitFailed;
    } else if (options.Version) {
        status = TConsole::Out(TRenderOptions::VersionText()) ? ExitDone : ExitFailed;
    } else if (options.ToStandardOutput() && isatty(STDOUT_FILENO)) {
        // An image is no text for a terminal to show.
        TConsole::Error(TrText("-o -: standard output is a terminal; redirect it to a file or a pipe"));
        status = ExitBadArgument;
    } else {
        status = Render(options);
    }
    // The file is in place or the error reported: nothing is left to do. Tearing down
    // the font caches would only give back memory the kernel reclaims at exit anyway,
    // so the process ends here.
    std::fflush(stdout);
    std::_Exit(status);
}
