#pragma once

#include "platform/base/Strings.h"

// The caption list of a multi-cell button. Reading outside the list gives an empty
// caption and an insert outside 0..Count is ignored, so the button can ask for any
// cell; deleting an entry that does not exist is still an error.
class TCaptionStrings : public TStrings {
public:
    TCaptionStrings() = default;
    TCaptionStrings(const TCaptionStrings&) = delete;
    TCaptionStrings& operator=(const TCaptionStrings&) = delete;

    std::u16string Get(int index) const override;
    int Count() const override { return FCount; }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::u16string& text) override;

private:
    TStringList FList;
    int FCount = 0;
};
