#pragma once

#include <QString>

// The name a screen reader hears for a control that a caption names: the caption
// without its mnemonic marker, whether a letter in brackets after the text ("文字間隔(&S)",
// or "文字間隔(S)" once the "&" is gone) or an "&" before a letter ("&File"), and without
// a trailing colon. A doubled "&&" stands for one "&" and stays as one.
QString CaptionName(const QString& caption);
