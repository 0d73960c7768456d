#pragma once

#include <QString>
#include <QStringList>

// An ordered list of strings, abstract: everything else is built on the five
// operations a concrete list provides (read, count, clear, delete, insert).
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual QString Get(int index) const = 0;
    virtual int Count() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const QString& text) = 0;

    // Appends at the end; returns the position the text was meant for.
    int Add(const QString& text);
    // An indexed replacement: delete, then insert at the same index.
    void Put(int index, const QString& text);
    // Replaces the content by a copy of the source's strings.
    virtual void Assign(const TStrings& source);
    void Assign(const QStringList& source);
    QStringList ToStringList() const;
    int IndexOf(const QString& text) const;
};

// The plain list. An index outside the list is an error (EStringListError).
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(const QStringList& strings) : FList(strings) {}

    QString Get(int index) const override;
    int Count() const override { return static_cast<int>(FList.size()); }
    void Clear() override { FList.clear(); }
    void Delete(int index) override;
    void Insert(int index, const QString& text) override;
    using TStrings::Assign;

private:
    QStringList FList;
};
