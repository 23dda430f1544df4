#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/resource.h"

TEST(ResourceTest, RegisteredBytesAreFoundByTypeAndId)
{
    static const std::uint8_t kBytes[] = { 1, 2, 3 };
    AfxRegisterResource("TESTBIN", 7, kBytes, sizeof kBytes);
    HRSRC found = FindResource(AfxGetResourceHandle(), 7, "TESTBIN");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, found), 3u);
    EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, found)), kBytes, 3), 0);
    EXPECT_EQ(FindResource(nullptr, 7, "OTHER"), nullptr);
    EXPECT_EQ(FindResource(nullptr, 8, "TESTBIN"), nullptr);
    EXPECT_TRUE(AfxGetResource("TESTBIN", 8).empty());
}
