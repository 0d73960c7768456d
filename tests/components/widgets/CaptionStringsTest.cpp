#include "components/widgets/CaptionStrings.h"

#include "platform/base/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(CaptionStringsTest, ReadsAndInsertsOutsideTheListAreHarmless)
{
    TCaptionStrings list;
    list.Assign(QStringList{"A", "B"});
    for (int index : {-1, 2, 1000})
        EXPECT_EQ(list.Get(index), QString()) << index;
    list.Insert(-1, "x");
    list.Insert(3, "x");
    list.Insert(2, "C");
    EXPECT_EQ(list.ToStringList(), QStringList({"A", "B", "C"}));
}

TEST(CaptionStringsTest, DeletingAMissingEntryThrowsAndKeepsTheCount)
{
    for (int index : {-1, 2, 7}) {
        SCOPED_TRACE(index);
        TCaptionStrings list;
        list.Assign(QStringList{"A", "B"});
        EXPECT_THROW(list.Delete(index), EStringListError);
        EXPECT_EQ(list.Count(), 2);
    }
}

} // namespace
