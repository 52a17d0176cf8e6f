// kelvane: the game in its window.
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_application.h"
#include "ui/chess_app.h"

int main(int argc, char** argv) {
    return kelvane::platform::qt::RunApplication(
        argc, argv,
        [](kelvane::ShellPlatform& platform,
           std::vector<std::string> arguments) -> std::shared_ptr<void> {
            auto app = std::make_shared<kelvane::CChessApp>(platform, std::move(arguments));
            if (!app->InitInstance()) return nullptr;
            return app;
        });
}
