#pragma once

#include <QString>
#include <memory>
#include <string_view>

class TComboBoxStrings;
class TStyleHost;

// The named styles: the drop-down list, the settings file's sections and the open
// gallery kept in step. Adding or deleting a style that cannot be stored puts the list
// back as it was.
class TStyleList {
public:
    explicit TStyleList(TStyleHost& host);
    ~TStyleList();

    TComboBoxStrings& Items() { return *FItems; }

    // Writes the window's parameters as section, with the style list, in one write.
    void Store(std::u16string_view section);
    // Reads section over the window's parameters and puts what was read into the
    // controls; a malformed value stops the reading, and what was read before it is
    // still applied. The list is read again too.
    void Load(std::u16string_view section);
    // Asks for a name and stores the parameters under it, as a new entry or over the
    // entry of that name. A name the file cannot hold as a section is refused before
    // anything changes.
    void Add();
    // Deletes the chosen style once the user agrees.
    void DeleteChosen();

private:
    void ShowInGallery();

    TStyleHost& FHost;
    std::unique_ptr<TComboBoxStrings> FItems;
};
