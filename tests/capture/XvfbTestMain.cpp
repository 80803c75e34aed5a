#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>

// Screen copies need a real X server: with a display the tests run on it, without one they
// run offscreen and skip what needs the screen.
int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    setenv("QT_QPA_PLATFORM", display && *display ? "xcb" : "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
