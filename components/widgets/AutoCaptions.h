#pragma once

#include <QString>
#include <QStringList>

// The captions of cells 1..count of one kind, the run starting at the entry that matches
// first (cell 1's caption); a cell past the end of its table gets an empty caption.
QStringList HiraganaCaptions(const QString& first, int count);
QStringList KatakanaCaptions(const QString& first, int count);
QStringList CapitalLetterCaptions(const QString& first, int count);
QStringList SmallLetterCaptions(const QString& first, int count);
// Numbers counting up from first, or from 1 when first is no integer.
QStringList NumberCaptions(const QString& first, int count);
