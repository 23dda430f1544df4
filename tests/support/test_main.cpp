#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Every test binary has the application on the offscreen platform, and no
    // message box ever waits for a user.
    AfxWinInit(argc, argv);
    MessageBoxScript::Enable();
    return RUN_ALL_TESTS();
}
