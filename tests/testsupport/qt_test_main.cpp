// The entry of the Qt test programs: one application object for the whole run. Listing the
// tests needs no screen, so the application is made only when tests run; the platform
// (offscreen for the widget tests) comes from the test's environment.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    int toolkitArgc = 1;
    QApplication toolkit(toolkitArgc, argv);
    return RUN_ALL_TESTS();
}
