#pragma once

#include <QString>

// An installed program lives in <prefix>/bin and keeps its data in <prefix>/share/<name>.
// The folder that layout gives for the program (or any file beside it) at path, as a
// cleaned absolute path; whether it exists is the caller's question.
QString InstalledDataFolder(const QString& path, const QString& name);

// The running program's file: as Qt knows it once an application object exists, else
// as the system links it.
QString RunningProgramFile();
