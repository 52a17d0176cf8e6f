// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on Qt's offscreen platform, started as main() starts it, for tests that
// drive it through its real windows.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/chess_app.h"
#include "app/chess_view.h"
#include "app/display_settings.h"
#include "framework/qt/qt_frame_window.h"
#include "framework/qt/qt_shell_platform.h"
#include "framework/qt/qt_view_window.h"
#include "game/game_state.h"
#include "rules/evaluation.h"

namespace kelvane::testing {

// Acts on each modal window that opens while the code under test runs its own modal loop (by
// default, closes it), noting its title.
struct ModalWatcher {
    explicit ModalWatcher(std::function<void(QWidget*)> act = [](QWidget* m) { m->close(); }) {
        QObject::connect(&poll, &QTimer::timeout, [this, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == last) return;
            last = modal;
            titles << modal->windowTitle();
            act(modal);
        });
        poll.start(5);
    }
    QTimer poll;
    QPointer<QWidget> last;
    QStringList titles;
};

inline Board StartingBoard() {
    Board board{};
    SetUpStartingPosition(board);
    return board;
}

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The process's state outlives a window: start each test as the program starts.
        SetRulesVariant(kKingMustDie);
        ResetDisplaySettings();
        ResetGameState();
        std::filesystem::current_path(scratch_.path().toStdString());  // for game.sav
    }
    void TearDown() override {
        app_.reset();
        platform_.reset();
        std::filesystem::current_path(previous_);
        QApplication::processEvents();
    }
    // Starts the program; arguments as after the program's name.
    void Start(std::vector<std::string> arguments = {}, bool starts = true) {
        platform_ = std::make_unique<framework::qt::QtShellPlatform>();
        app_ = std::make_unique<CChessApp>(*platform_, std::move(arguments));
        ASSERT_EQ(app_->InitInstance(), starts);
        if (!starts) return;
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }

    framework::qt::QtFrameWindow& Window() const { return *platform_->MainWindow(); }
    framework::qt::QtViewWindow& View() const { return *platform_->ViewWindow(); }
    const Board& TheBoard() const {
        return static_cast<CChessView*>(app_->GetMainWnd()->GetActiveView())->GetBoard();
    }
    QAction& MenuItem(int id) const { return *Window().MenuAction(id); }
    // Through the top-level window, so that every pixel of the view is reachable.
    void ClickSquare(int column, int row, Qt::MouseButton button = Qt::LeftButton) const {
        const int size = GetSquareSize();
        const QPoint centre(column * size + size / 2, row * size + size / 2);
        QTest::mouseClick(Window().windowHandle(), button, {}, View().mapTo(&Window(), centre));
    }
    // The player's pawn in column 4 two squares up, and the computer's reply.
    void PlayOneTurn() const { ClickSquare(4, 6), ClickSquare(4, 4); }

    std::filesystem::path previous_ = std::filesystem::current_path();
    QTemporaryDir scratch_;
    std::unique_ptr<framework::qt::QtShellPlatform> platform_;
    std::unique_ptr<CChessApp> app_;
};

}  // namespace kelvane::testing
