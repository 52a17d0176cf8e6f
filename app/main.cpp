// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane: the game in its window.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chess_app.h"
#include "framework/file.h"
#include "framework/qt/qt_application.h"
#include "framework/resources.h"
#include "kelvane_version.h"
#include "res/program_resources.h"

namespace {

constexpr std::string_view kUsage =
    "usage: kelvane [--extras [--pgn FILE]] [FILE]\n"
    "Losing chess against the computer: you play White and try to lose your king\n"
    "(or all your pieces, under the rules All must die). FILE, if given, becomes the\n"
    "document's title. Qt's own options such as -platform are accepted too.\n"
    "  --extras    the window with extras: the Expert level, playing Black, a status line\n"
    "              that explains, coordinates, game records and keyboard play\n"
    "  --pgn FILE  with --extras: appends every game to FILE in PGN\n";

struct CommandLine {
    bool extras = false;
    std::optional<std::string> pgnFile;
    std::vector<char*> rest;  // for Qt and the framework
};

// Our long options are answered before any window exists; Qt's single-dash options and a
// file name go on to the application. Returns the exit status when the program ends here.
std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& line) {
    line.rest.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (argument == "--version") {
            std::cout << "Kelvane " << kelvane::kKelvaneVersion << "\n";
            return 0;
        }
        if (argument == "--extras") {
            line.extras = true;
        } else if (argument == "--pgn" || argument.substr(0, 6) == "--pgn=") {
            std::string value;
            if (argument == "--pgn") {
                if (i + 1 < argc) value = argv[++i];
            } else {
                value = argument.substr(6);
            }
            if (value.empty()) {
                std::cerr << "kelvane: --pgn needs a file name\n";
                return 2;
            }
            line.pgnFile = value;
        } else if (argument.size() > 2 && argument.substr(0, 2) == "--") {
            std::cerr << "kelvane: unknown option '" << argument << "' (try kelvane --help)\n";
            return 2;
        } else {
            line.rest.push_back(argv[i]);
        }
    }
    if (line.pgnFile && !line.extras) {
        std::cerr << "kelvane: --pgn records games only in the window with extras: add --extras\n";
        return 2;
    }
    return std::nullopt;
}

// The record file is opened before the window, so that a file that cannot take the games
// stops the program at once rather than after a game.
std::optional<int> OpenRecordFile(const std::string& fileName, kelvane::ExtrasOptions& extras) {
    std::string problem = kelvane::framework::WhyNotAppendable(fileName);
    auto file = std::make_shared<kelvane::PgnFile>();
    if (problem.empty()) {
        if (const kelvane::Status opened = file->Open(fileName); !opened) problem = opened.reason();
    }
    if (!problem.empty()) {
        std::cerr << "kelvane: " << problem << "\n";
        return 2;
    }
    extras.pgnFile = std::move(file);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (const std::optional<int> status = ReadCommandLine(argc, argv, line)) return *status;
    kelvane::ExtrasOptions extras;
    if (line.pgnFile) {
        if (const std::optional<int> status = OpenRecordFile(*line.pgnFile, extras)) return *status;
    }
    kelvane::framework::AfxSetResources(line.extras ? &kelvane::res::ExtrasProgramResources()
                                                    : &kelvane::res::ProgramResources());
    int restCount = static_cast<int>(line.rest.size());
    line.rest.push_back(nullptr);
    const bool withExtras = line.extras;
    return kelvane::framework::qt::RunApplication(
        restCount, line.rest.data(),
        [withExtras, &extras](kelvane::framework::ShellPlatform& platform,
                              std::vector<std::string> arguments) -> std::shared_ptr<void> {
            auto app = withExtras
                           ? std::make_shared<kelvane::CChessApp>(platform, std::move(arguments),
                                                                  std::move(extras))
                           : std::make_shared<kelvane::CChessApp>(platform, std::move(arguments));
            if (!app->InitInstance()) return nullptr;
            return app;
        });
}
