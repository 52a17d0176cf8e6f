// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane: the game in its window.
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/chess_app.h"
#include "framework/qt/qt_application.h"
#include "framework/resources.h"
#include "kelvane_version.h"
#include "res/program_resources.h"

namespace {

constexpr std::string_view kUsage =
    "usage: kelvane [FILE]\n"
    "Losing chess against the computer: you play White and try to lose your king\n"
    "(or all your pieces, under the rules All must die). FILE, if given, becomes the\n"
    "document's title. Qt's own options such as -platform are accepted too.\n";

// Our long options are answered before any window exists; Qt's single-dash options and a
// file name go on to the application.
bool HandledOnTheCommandLine(int argc, char** argv, int& status) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            status = 0;
            return true;
        }
        if (argument == "--version") {
            std::cout << "Kelvane " << kelvane::kKelvaneVersion << "\n";
            status = 0;
            return true;
        }
        if (argument.size() > 2 && argument.substr(0, 2) == "--") {
            std::cerr << "kelvane: unknown option '" << argument << "' (try kelvane --help)\n";
            status = 2;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    if (HandledOnTheCommandLine(argc, argv, status)) return status;
    kelvane::framework::AfxSetResources(&kelvane::res::ProgramResources());
    return kelvane::framework::qt::RunApplication(
        argc, argv,
        [](kelvane::framework::ShellPlatform& platform,
           std::vector<std::string> arguments) -> std::shared_ptr<void> {
            auto app = std::make_shared<kelvane::CChessApp>(platform, std::move(arguments));
            if (!app->InitInstance()) return nullptr;
            return app;
        });
}
