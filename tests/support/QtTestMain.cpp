#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>

// Widget tests run without a display unless a platform was chosen (Xvfb tests choose xcb).
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
