// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_application.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstddef>
#include <cstdlib>
#include <iostream>

#include "framework/qt/qt_shell_platform.h"
#include "framework/resources.h"

namespace kelvane::framework::qt {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The name as one line: control bytes shown as \xNN.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c != 0x7f) {
            line += static_cast<char>(c);
            continue;
        }
        static const char kHex[] = "0123456789abcdef";
        line += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    }
    return line;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// Why Qt could not open an X display ("" when it can): a name not of the form
// [host]:display[.screen], no server answering, or a screen the server does not have. Qt's
// own plug-in aborts on each of these, so they are found first with the same library.
std::string XDisplayProblem(const std::string& display) {
    const std::size_t colon = display.rfind(':');
    bool wellFormed = colon != std::string::npos;
    if (wellFormed) {
        const std::string rest = display.substr(colon + 1);
        const std::size_t dot = rest.find('.');
        wellFormed = AllDigits(rest.substr(0, dot)) &&
                     (dot == std::string::npos || AllDigits(rest.substr(dot + 1)));
    }
    if (!wellFormed) return "not a display name of the form [host]:display[.screen]";
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(display.c_str(), &screen);
    std::string problem;
    switch (xcb_connection_has_error(connection)) {
        case 0:
            if (screen < 0 || screen >= xcb_setup_roots_length(xcb_get_setup(connection)))
                problem = "the X server there has no screen " + std::to_string(screen);
            break;
        case XCB_CONN_CLOSED_PARSE_ERR:
            problem = "not a display name of the form [host]:display[.screen]";
            break;
        case XCB_CONN_CLOSED_INVALID_SCREEN:
            problem = "the X server there has no screen " + std::to_string(screen);
            break;
        default:
            problem = "no X server answers there";
    }
    xcb_disconnect(connection);
    return problem;
}

// Why no Wayland compositor can be reached at display ("" when one answers): its socket is
// found and connected to as the Wayland client library does. Qt aborts where it cannot connect
// and no X display is left to fall back on.
std::string WaylandDisplayProblem(const std::string& display) {
    std::string path = display;
    if (path.front() != '/') {
        const std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) return "XDG_RUNTIME_DIR is not set";
        path = runtime + "/" + display;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return "the path of its socket is too long";
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool answers =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) ::close(fd);
    return answers ? "" : "no Wayland compositor answers there";
}

bool ChoosesPlatform(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-platform") return true;
    }
    return false;
}

}  // namespace

std::string FindDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (std::string value = Environment(name); !value.empty()) return value;
    }
    return "";
}

int RunApplication(int argc, char** argv, const StartUp& startUp) {
    if (!ChoosesPlatform(argc, argv)) {
        if (FindDisplay().empty()) {
            std::cerr << "kelvane: no display to open the window on (DISPLAY and "
                         "WAYLAND_DISPLAY are not set); start it from a desktop session or "
                         "under xvfb-run\n";
            return 2;
        }
        const std::string x11 = Environment("DISPLAY");
        const std::string wayland = Environment("WAYLAND_DISPLAY");
        if (Environment("QT_QPA_PLATFORM").empty() && x11.empty()) {
            if (const std::string problem = WaylandDisplayProblem(wayland); !problem.empty()) {
                std::cerr << "kelvane: cannot open the Wayland display " << OneLine(wayland) << ": "
                          << problem << "\n";
                return 2;
            }
        }
        if (Environment("QT_QPA_PLATFORM").empty() && wayland.empty()) {
            if (const std::string problem = XDisplayProblem(x11); !problem.empty()) {
                std::cerr << "kelvane: cannot open the display " << OneLine(x11) << ": " << problem
                          << "\n";
                return 2;
            }
        }
    }

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvane.Kelvane"));
    if (const ResourceTable* resources = AfxGetResources(); resources && resources->iconXpm)
        QApplication::setWindowIcon(QIcon(QPixmap(resources->iconXpm)));

    std::vector<std::string> arguments;
    const QStringList qtArguments = QApplication::arguments();
    for (qsizetype i = 1; i < qtArguments.size(); ++i) {
        arguments.push_back(qtArguments[i].toStdString());
    }

    QtShellPlatform platform;
    std::shared_ptr<void> running = startUp(platform, std::move(arguments));
    if (running == nullptr) return 1;
    const int status = QApplication::exec();
    // The application (and its views) go before their windows.
    running.reset();
    return status;
}

}  // namespace kelvane::framework::qt
