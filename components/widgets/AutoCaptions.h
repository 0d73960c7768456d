#pragma once

#include "components/widgets/ManyBtn.h"

#include <QString>
#include <QStringList>

// The captions of cells 1..count for mode, the run starting at the entry that matches
// first (cell 1's caption). Empty for acNone and for values outside the enumeration.
QStringList AutoCaptions(TManyBtn::TAutoCaption mode, const QString& first, int count);
