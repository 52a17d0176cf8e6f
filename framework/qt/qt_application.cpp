#include "framework/qt/qt_application.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

// For a local X display (":0", "unix:0.0"), whether its server answers; other displays are
// left for Qt to try.
bool LocalXDisplayAnswers(const std::string& display) {
    std::string rest = display;
    if (rest.rfind("unix:", 0) == 0) rest = rest.substr(4);
    if (rest.empty() || rest[0] != ':') return true;
    const std::string number = rest.substr(1, rest.find('.') - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return true;
    }
    const std::string path = "/tmp/.X11-unix/X" + number;
    // The server listens on an abstract socket, a file socket, or both.
    for (const bool abstract : {true, false}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return true;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        path.copy(address.sun_path + offset, sizeof(address.sun_path) - offset - 1);
        const auto length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        ::close(fd);
        if (connected) return true;
    }
    return false;
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
        if (Environment("QT_QPA_PLATFORM").empty() && Environment("WAYLAND_DISPLAY").empty() &&
            !LocalXDisplayAnswers(x11)) {
            std::cerr << "kelvane: cannot open the display " << x11
                      << ": no X server answers there\n";
            return 2;
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
