#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932 (Shift-JIS as Windows defines it, also called Windows-31J) at
// the edges of the program: files are stored in it, the program works in QString.

// The bytes of text, or nothing when any character has no code in CP932.
std::optional<QByteArray> TryEncodeShiftJis(const QString& text);

// Text of CP932 bytes. Each byte or pair that is not a character becomes U+FFFD.
QString DecodeShiftJis(const QByteArray& bytes);

bool CanEncodeShiftJis(const QString& text);
