// Test main for tests that need no window system.
#include <gtest/gtest.h>

#include "support/test_databases.h"

int main(int argc, char** argv) {
    tolvane::test::prepareFirebirdEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
