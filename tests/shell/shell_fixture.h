// The whole program on Qt's offscreen platform, started as main() starts it, for tests that
// drive it through its real windows.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_shell_platform.h"
#include "platform/qt/qt_view_window.h"
#include "ui/chess_app.h"
#include "ui/chess_view.h"

namespace kelvane::testing {

// Acts once on the next modal window that opens while the code under test runs its own
// modal loop. Gives up after about two seconds so a missing box fails instead of hanging.
class ModalWatcher {
  public:
    explicit ModalWatcher(std::function<void(QWidget*)> act);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    bool Seen() const { return seen_; }
    const QString& Title() const { return title_; }
    // The box's text, for a message box; empty otherwise.
    const QString& Text() const { return text_; }
    // How the dialog ended: QDialog's result, -1 until it has.
    int Result() const { return result_; }

  private:
    std::function<void(QWidget*)> act_;
    QTimer poll_;
    int polls_ = 0;
    bool seen_ = false;
    QString title_;
    QString text_;
    int result_ = -1;
};

// Accepts a message box or dialog by its default action.
void Accept(QWidget* modal);

// A temporary current directory for the test, so game.sav lands nowhere else.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program; arguments as after the program's name.
    void Start(std::vector<std::string> arguments = {});

    platform::qt::QtFrameWindow& Window() const;
    platform::qt::QtViewWindow& View() const;
    CChessView& ChessView() const;
    Board& TheBoard() const { return ChessView().GetBoard(); }
    QAction& MenuItem(int commandId) const;
    bool IsChecked(int commandId) const;

    // Sends a key to the main window as the user would type it.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // Left click at a pixel of the board view.
    void ClickAt(int x, int y, Qt::MouseButton button = Qt::LeftButton) const;
    void ClickSquare(int column, int row) const;

    std::unique_ptr<ScratchDirectory> scratch_;
    std::unique_ptr<platform::qt::QtShellPlatform> platform_;
    std::unique_ptr<CChessApp> app_;
};

}  // namespace kelvane::testing
