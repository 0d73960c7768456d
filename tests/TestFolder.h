#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Tests below the window work on real files with the standard library alone.

// A fresh folder under the system's temporary folder, removed with all it holds when
// the guard ends.
class TTestFolder {
public:
    TTestFolder();
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path FilePath(const std::filesystem::path& name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

// The file's bytes, or "<unreadable>" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
// Writes the bytes whole; a failure fails the test.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// Every entry of a folder, hidden ones included, by name, sorted.
std::vector<std::string> Entries(const std::filesystem::path& folder);

// A test's text, written as UTF-8 or UTF-16 literal.
struct TText : std::u16string {
    TText() = default;
    TText(const char* utf8);
    TText(const char16_t* text) : std::u16string(text) {}
    TText(std::u16string text) : std::u16string(std::move(text)) {}
};
