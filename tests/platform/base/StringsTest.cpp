#include "platform/base/Strings.h"

#include "platform/base/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, IndexOutsideTheListIsAnErrorNamingTheIndex)
{
    TStringList list({u"a", u"b"});
    const auto message = [&](const auto& call) {
        try {
            call();
        } catch (const EStringListError& error) {
            return error.Message();
        }
        return std::u16string(u"no error");
    };
    EXPECT_EQ(message([&] { list.Get(2); }), u"リストのインデックスが範囲を超えています (2)");
    EXPECT_EQ(message([&] { list.Delete(-1); }), u"リストのインデックスが範囲を超えています (-1)");
    EXPECT_EQ(message([&] { list.Insert(3, u"x"); }), u"リストのインデックスが範囲を超えています (3)");
    list.Insert(2, u"c");
    list.Put(0, u"A");
    EXPECT_EQ(list.ToStringList(), (std::vector<std::u16string>{u"A", u"b", u"c"}));
}

TEST(Strings, IndexOfIgnoresTheCaseOfAsciiLettersOnly)
{
    TStringList list;
    list.Assign({u"Vezodev", u"ÄBC", u"vezodev"});
    EXPECT_EQ(list.IndexOf(u"VEZODEV"), 0);
    EXPECT_EQ(list.IndexOf(u"äbc"), -1);
    EXPECT_EQ(list.IndexOf(u"ÄBC"), 1);
    TStringList copy;
    copy.Assign(list);
    copy.Assign(copy);
    EXPECT_EQ(copy.ToStringList(), list.ToStringList());
}

} // namespace
