#pragma once

#include <string>

class TBatchReport;

// A batch file rendered: one logo a line, each line the options of one run. Lines are
// rendered by several threads; what each line prints comes out in line order, and the
// files reach their names in line order a group of lines at a time, after one sync for
// the group, as one line at a time would leave them. Standard input ("-") is read as
// it comes, so that its first logos are in place before it ends.
class TRenderBatch {
public:
    // Renders every line; a bad line is reported with its number and the others still
    // render. Each line's outcome goes to report, when given, once its file is in
    // place. Returns the exit status: the worst of the lines', or 128 + the number of a
    // signal that stopped the batch (the lines done by then are in place, every
    // temporary file is removed).
    static int Run(const std::u16string& batchPath, int jobs, TBatchReport* report = nullptr);
};
