// Test entry point shared by every test module. A QApplication exists for
// the modules that touch Qt (offscreen in CI); the engine's module has none.
#include <gtest/gtest.h>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef QT_WIDGETS_LIB
    // No test shows a real window: offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
