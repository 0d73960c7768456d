#pragma once

#include <string>

// A font file chosen for a family and style.
struct TFontFile {
    std::string Path;
    int Index = 0;         // the face within the file
    std::u16string Family; // the family the file belongs to
    bool Found = true;     // false: the family is not installed and a default stands in
};
