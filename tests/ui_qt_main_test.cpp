// The widget tests need one QApplication for the whole run. Without a display they run on the
// offscreen platform, also when the test list is read.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    int toolkitArgc = 1;
    QApplication toolkit(toolkitArgc, argv);
    return RUN_ALL_TESTS();
}
