#pragma once

#include <filesystem>

// An installed program lives in <prefix>/bin and keeps its data in <prefix>/share/<name>.
// The folder that layout gives for the program (or any file beside it) at path, as a
// cleaned absolute path; whether it exists is the caller's question.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& path, const std::filesystem::path& name);

// The running program's file as the system links it (/proc/self/exe), empty when the
// system cannot tell.
std::filesystem::path RunningProgramFile();
