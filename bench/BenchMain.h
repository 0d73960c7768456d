#pragma once

// What every benchmark program's main does around its own setup.
class TBenchMain {
public:
    // Chooses the screenless platform unless the environment names one; call it before
    // the application object is made.
    static void PreferOffscreen();
    // Runs the benchmarks the command line selects; 1 when an argument is not understood.
    static int Run(int* argc, char** argv);
};
