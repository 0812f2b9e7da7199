// Every test program runs with a QApplication on the offscreen platform and a settings store of its own.
#include "tests/OffscreenApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    OffscreenApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
