#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The bytes of the settings file at path: empty when there is no such file, nothing
// when it exists but cannot be read (or is not a regular file, so that a pipe is
// never waited on); error then receives the system's error number.
std::optional<QByteArray> ReadProfileFile(const QString& path, int* error = nullptr);

// The Windows profile functions over the file at path, which is read anew on
// every call.

// A missing or unreadable file gives defaultValue, like a missing section or key.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& path);

// Sets key in section (value == nullptr deletes the key, key == nullptr erases
// the section) and replaces the file atomically; a missing file is created, a
// missing folder is not. Returns false on any failure, with the file unchanged.
bool WritePrivateProfileString(const QString& section, const QString* key,
                               const QString* value, const QString& path);
