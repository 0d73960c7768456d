#include "RenderProcess.h"

#include <QProcess>

TRenderRun RunRenderer(const QStringList& arguments, const TRenderStart& start)
{
    QProcess process;
    process.setProcessEnvironment(start.Environment);
    if (!start.Folder.isEmpty())
        process.setWorkingDirectory(start.Folder);
    if (start.ChildSetup)
        process.setChildProcessModifier(start.ChildSetup);
    process.start(QStringLiteral(VEZODEV_RENDER), arguments);
    TRenderRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.ExitCode = process.exitCode();
    run.OutBytes = process.readAllStandardOutput();
    run.Out = QString::fromUtf8(run.OutBytes);
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
