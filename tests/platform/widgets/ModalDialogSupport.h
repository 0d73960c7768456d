#pragma once

#include <QDialog>
#include <functional>

// Runs action on the modal dialog once the next Execute has shown it. A dialog the
// action leaves open is a failure; it is cancelled, so the test cannot hang.
void WhenModalShown(std::function<void(QDialog&)> action, int triesLeft = 200);
