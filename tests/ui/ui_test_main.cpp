// Runs the window tests inside one QApplication, on the offscreen platform unless the environment
// names another one.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Unbuffered, so a run that ends early (seen once under Wine: no output at all, never again
    // in a thousand runs) still shows how far it got.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // also when ctest lists the tests
    }
    QApplication application(argc, argv);
    // Tests close windows one after another; the application must outlive each of them.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
