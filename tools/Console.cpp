#include "tools/Console.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/Tr.h"
#include "tools/BatchRunner.h"

#include <cerrno>
#include <cstdio>

namespace {

bool OutputFailed = false;

} // namespace

bool TConsole::Out(const QString& text)
{
    if (OutputFailed)
        return false;
    if (text.isEmpty())
        return true;
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size())
        && std::fflush(stdout) == 0)
        return true;
    OutputFailed = true;
    Error(Tr("standard output: %1").arg(SystemErrorText(errno != 0 ? errno : EIO)));
    return false;
}

void TConsole::Error(const QString& message)
{
    ErrorText(QStringLiteral("vezodev-render: %1\n").arg(message));
}

void TConsole::ErrorText(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

void TConsole::Report(const TLineReport& report, std::set<char32_t>& named)
{
    Out(report.Out);
    ErrorText(report.Err);
    for (const char32_t code : report.Missing) {
        if (named.insert(code).second)
            Error(Tr("no installed font has U+%1")
                      .arg(QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
}

bool TConsole::OutFailed()
{
    return OutputFailed;
}
