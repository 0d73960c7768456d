#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// One run of the built renderer, started as a user starts it.
struct TRenderRun {
    int ExitCode = -1; // -1 when it crashed or did not finish
    QByteArray OutBytes;
    QString Out;
    QString Err;
};

// How the renderer is started: its environment, its working folder (empty: ours), and
// what the child does before it runs the program (a resource limit, say).
struct TRenderStart {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    QString Folder;
    std::function<void()> ChildSetup;
};

TRenderRun RunRenderer(const QStringList& arguments, const TRenderStart& start = {});
