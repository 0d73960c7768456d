#include "components/widgets/CaptionStrings.h"

#include "platform/base/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(CaptionStringsTest, ReadsAndInsertsOutsideTheListAreHarmless)
{
    TCaptionStrings list;
    list.Assign(std::vector<std::u16string>{u"A", u"B"});
    for (int index : {-1, 2, 1000})
        EXPECT_EQ(list.Get(index), u"") << index;
    list.Insert(-1, u"x");
    list.Insert(3, u"x");
    list.Insert(2, u"C");
    EXPECT_EQ(list.ToStringList(), (std::vector<std::u16string>{u"A", u"B", u"C"}));
}

TEST(CaptionStringsTest, DeletingAMissingEntryThrowsAndKeepsTheCount)
{
    for (int index : {-1, 2, 7}) {
        SCOPED_TRACE(index);
        TCaptionStrings list;
        list.Assign(std::vector<std::u16string>{u"A", u"B"});
        EXPECT_THROW(list.Delete(index), EStringListError);
        EXPECT_EQ(list.Count(), 2);
    }
}

} // namespace
