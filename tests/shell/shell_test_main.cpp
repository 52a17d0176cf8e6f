// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests run on Qt's offscreen platform unless told otherwise, with a home and a
// configuration folder of their own: Qt's file chooser keeps a history there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "framework/resources.h"
#include "res/program_resources.h"

int main(int argc, char** argv) {
    // The offscreen platform warns about every window operation it cannot do; that is expected.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& m) {
        if (!m.startsWith("This plugin does not")) qt_message_output(type, where, m);
    });
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit().constData(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the program closes its window at times
    kelvane::framework::AfxSetResources(&kelvane::res::ProgramResources());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
