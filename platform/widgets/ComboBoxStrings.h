#pragma once

#include "platform/base/Strings.h"

class QComboBox;

// The item list of a drop-down list as a string list. Changing the list from code
// never selects an entry by itself, and replacing it as a whole clears the selection.
class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(QComboBox* comboBox) : FComboBox(comboBox) {}

    std::u16string Get(int index) const override;
    int Count() const override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::u16string& text) override;
    void Assign(const TStrings& source) override;
    using TStrings::Assign;

private:
    QComboBox* FComboBox;
};
