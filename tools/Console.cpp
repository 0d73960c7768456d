#include "tools/Console.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "tools/BatchRunner.h"

#include <cerrno>
#include <cstdio>

namespace {

bool OutputFailed = false;

} // namespace

bool TConsole::Out(std::u16string_view text)
{
    if (OutputFailed)
        return false;
    if (text.empty())
        return true;
    const std::string bytes = TextToUtf8(text);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0)
        return true;
    OutputFailed = true;
    Error(Format(TrText("standard output: %1"), {SystemErrorText(errno != 0 ? errno : EIO)}));
    return false;
}

void TConsole::Error(std::u16string_view message)
{
    std::u16string text(MessagePrefix);
    text += message;
    text += u'\n';
    ErrorText(text);
}

void TConsole::ErrorText(std::u16string_view text)
{
    std::fputs(TextToUtf8(text).c_str(), stderr);
}

void TConsole::Report(const TLineReport& report, std::set<char32_t>& named)
{
    Out(report.Out);
    ErrorText(report.Err);
    for (const char32_t code : report.Missing) {
        if (named.insert(code).second)
            Error(Format(TrText("no installed font has U+%1"), {HexDigits(code, 4)}));
    }
}

bool TConsole::OutFailed()
{
    return OutputFailed;
}
