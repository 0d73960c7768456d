#include "components/widgets/IniGTComponent.h"

#include <QVariant>
#include <gtest/gtest.h>

namespace {

// A form sets the store's properties by name; a number outside an enumeration is
// ignored, as a stored form with a value this version does not know would be.
TEST(IniGTComponentTest, PropertiesSetByNameReachTheStore)
{
    TIniGTComponent store(nullptr, QStringLiteral("/opt/vz/ZORIVODER.EXE"));
    EXPECT_TRUE(store.setProperty("Fence", int(fnParenthesis)));
    EXPECT_TRUE(store.setProperty("DefaultDir", int(ddNone)));
    EXPECT_TRUE(store.setProperty("FileName", QStringLiteral("x.ini")));
    EXPECT_EQ(store.Fence(), fnParenthesis);
    EXPECT_FALSE(store.FenceUnset());
    EXPECT_EQ(store.FullPath(), std::filesystem::path("x.ini"));
    store.setProperty("Fence", 7);
    store.setProperty("DefaultDir", -1);
    EXPECT_EQ(store.property("Fence").toInt(), int(fnParenthesis));
    EXPECT_EQ(store.property("DefaultDir").toInt(), int(ddNone));
    EXPECT_EQ(store.property("FileName").toString(), QStringLiteral("x.ini"));
}

} // namespace
