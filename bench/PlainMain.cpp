// The main of every benchmark program that needs no setup of its own.
#include "BenchMain.h"

int main(int argc, char** argv)
{
    return TBenchMain::Run(&argc, argv);
}
