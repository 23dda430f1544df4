#include <gtest/gtest.h>

#include "screens/table_bridge.h"

namespace {

// A row's key is written into SQL only when it is a whole number: a sign, then
// 1 to 18 digits.
TEST(TableKeyTest, AKeyIsASignedWholeNumberOfAtMost18Digits)
{
    for (const char* key : { "1", "-1", "+7", "123456789012345678", "-123456789012345678" })
        EXPECT_TRUE(IsIntegerKey(key)) << key;
    for (const char* key : { "", "-", "1.5", "1 ", "12a", "1234567890123456789", "-1234567890123456789" })
        EXPECT_FALSE(IsIntegerKey(key)) << key;
}

} // namespace
