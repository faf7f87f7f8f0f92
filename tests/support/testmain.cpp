// The main of every test program of a folder that asks for one: a GUI application (fonts,
// painting, PDF) for the model tests, a widgets application for the window tests. Run headless.
#ifdef POSTAVO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
