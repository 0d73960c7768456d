#pragma once

#include <string>
#include <string_view>
#include <vector>

// An ordered list of strings, abstract: everything else is built on the five
// operations a concrete list provides (read, count, clear, delete, insert).
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual std::u16string Get(int index) const = 0;
    virtual int Count() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const std::u16string& text) = 0;

    // Appends at the end; returns the position the text was meant for.
    int Add(const std::u16string& text);
    // An indexed replacement: delete, then insert at the same index.
    void Put(int index, const std::u16string& text);
    // Replaces the content by a copy of the source's strings.
    virtual void Assign(const TStrings& source);
    void Assign(const std::vector<std::u16string>& source);
    std::vector<std::u16string> ToStringList() const;
    // The first string that equals text but for the case of A-Z, or -1.
    int IndexOf(std::u16string_view text) const;
};

// The plain list. An index outside the list is an error (EStringListError).
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(std::vector<std::u16string> strings) : FList(std::move(strings)) {}

    std::u16string Get(int index) const override;
    int Count() const override { return static_cast<int>(FList.size()); }
    void Clear() override { FList.clear(); }
    void Delete(int index) override;
    void Insert(int index, const std::u16string& text) override;
    using TStrings::Assign;

private:
    std::vector<std::u16string> FList;
};
