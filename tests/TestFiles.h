#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small file chores the tests share.

// The file's bytes, or "<unreadable>" when it cannot be read.
QByteArray ReadAll(const QString& path);
// Writes the bytes whole; a failure fails the test.
void WriteAll(const QString& path, const QByteArray& bytes);
// Every entry of a folder, hidden ones included, by name.
QStringList Entries(const QString& folder);
