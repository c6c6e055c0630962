// The application is the one that the suite's code needs, told by the Qt modules it links:
// only their headers are on its include path.
#if __has_include(<QApplication>)
#include <QApplication>
using TestApplication = QApplication;
#elif __has_include(<QGuiApplication>)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    // Tests never need a display; the program itself never chooses a platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
