#include <gtest/gtest.h>

#include "transfer/comm_settings.h"

namespace {

// Every change tells the dialog, which shows the lists; a choice of another
// mode empties the registered scales, one of the same mode keeps them.
TEST(CommSettings, EachChangeIsToldAndAChoiceOfTheSameModeKeepsTheRegisteredScales)
{
    CCommSettings settings;
    int told = 0;
    settings.SetListener([&] { ++told; });
    settings.SelectMode(Transport::Serial);
    settings.InsertRegistered(5, "Scale name = B, Scale ID=02");
    settings.InsertRegistered(0, "Scale name = A, Scale ID=01");
    EXPECT_EQ(told, 3);
    EXPECT_EQ(settings.GetRegistered(),
        (std::vector<CString> { "Scale name = A, Scale ID=01", "Scale name = B, Scale ID=02" }));

    settings.SetChoice({ Transport::Serial, 2, { "Scale name = A, Scale ID=01" } });
    EXPECT_EQ(told, 4);
    EXPECT_EQ(settings.GetRegistered().size(), 2u);
    EXPECT_EQ(settings.GetPort(), 2);
    settings.SetChoice({ Transport::Ethernet, -1, {} });
    EXPECT_EQ(told, 5);
    EXPECT_TRUE(settings.GetRegistered().empty());

    settings.InsertRegistered(0, "Scale name = C, IP=10.0.0.3");
    settings.ClearRegistered();
    EXPECT_EQ(told, 7);
    EXPECT_TRUE(settings.GetRegistered().empty());
}

} // namespace
