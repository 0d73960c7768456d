#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The bytes of the settings file at path: empty when there is no such file, nothing
// when it exists but cannot be read (or is not a regular file, so that a pipe is
// never waited on); error then receives the system's error number.
std::optional<std::string> ReadProfileFile(const std::filesystem::path& path, int* error = nullptr);

// The Windows profile functions over the file at path, which is read anew on
// every call.

// A missing or unreadable file gives defaultValue, like a missing section or key.
std::u16string GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue, int bufferSize,
                                       const std::filesystem::path& path);

// Sets key in section (value == nullptr deletes the key, key == nullptr erases
// the section) and replaces the file atomically; a missing file is created, a
// missing folder is not. Returns false on any failure, with the file unchanged.
bool WritePrivateProfileString(std::u16string_view section, const std::u16string* key,
                               const std::u16string* value, const std::filesystem::path& path);
