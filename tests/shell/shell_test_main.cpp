// Widget tests run on Qt's offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    // The offscreen platform warns about every window operation it cannot do; that is expected.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& m) {
        if (!m.startsWith("This plugin does not")) qt_message_output(type, where, m);
    });
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // The program under test closes its window at times; the test run must go on.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
