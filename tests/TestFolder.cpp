#include "TestFolder.h"

#include "platform/base/UnicodeText.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

TTestFolder::TTestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vezodev-test-XXXXXX").native();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "no temporary folder";
    FPath = pattern;
}

TTestFolder::~TTestFolder()
{
    std::error_code ignored;
    // A test may have taken its permissions away.
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(FPath, ignored);
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<unreadable>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    file.close();
    EXPECT_TRUE(file.good()) << path;
}

std::vector<std::string> Entries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
}

TText::TText(const char* utf8) : std::u16string(Utf8ToText(utf8)) {}
