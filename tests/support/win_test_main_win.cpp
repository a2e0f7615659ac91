// The main function of every Win32 test program: the process state set up as the program's entry does
// (its own module is the instance that resources load from), then the tests.
#include <gtest/gtest.h>

#include "base/app_state.h"

int main(int argc, char **argv)
{
    appInstance = GetModuleHandleA(nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
