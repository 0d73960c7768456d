#pragma once

#include <functional>

// The signals that ask a program to end (SIGINT, SIGTERM and SIGHUP), taken by a
// thread of their own so that the program can end in order: a signal handler may do
// almost nothing safely, a thread may take locks and finish files. SIGPIPE is
// ignored, so that writing to a closed pipe is a write error like any other.
class TStopSignals {
public:
    // Blocks the three signals in the calling thread, and so in every thread it starts
    // later, and ignores SIGPIPE. Called before any thread starts.
    static void Block();
    // Starts the thread that waits for the signals: the first is handed to onSignal
    // with its number; a second one removes the process's temporary files and ends it
    // at once. When the thread cannot start, the signals get their default action back.
    static void Watch(std::function<void(int signal)> onSignal);
    // The exit status of a program ended by signal: 128 + its number.
    static int ExitStatus(int signal) { return 128 + signal; }
};
