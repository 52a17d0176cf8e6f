// The framework's part of the shell: start-up from the command line, command routing and the
// report of a file error.
#include <QMessageBox>
#include <QTest>
#include <fstream>

#include "engine/search_depth.h"
#include "game/command_ids.h"
#include "game/display_settings.h"
#include "res/menu_resource.h"
#include "res/string_resource.h"
#include "tests/shell/shell_fixture.h"
#include "ui/chess_doc.h"
#include "ui/main_frame.h"

namespace kelvane::testing {
namespace {

class FrameworkTest : public ShellTest {};

TEST_F(FrameworkTest, StartsWithANewDocumentAndTheDefaultSettings) {
    Start();
    EXPECT_EQ(app_->GetDocument()->GetTitle(), "- Kelvane ");
    EXPECT_EQ(app_->GetMaxRecentFiles(), 4u);
    EXPECT_EQ(GetSquareSize(), 40);
    EXPECT_EQ(GetSearchDepth(), 2);
    EXPECT_TRUE(Window().isVisible());
    Board start{};
    SetUpStartingPosition(start);
    EXPECT_EQ(TheBoard(), start);
}

TEST_F(FrameworkTest, AFileOnTheCommandLineIsOpenedAsTheDocument) {
    { std::ofstream("old.sav") << "whatever"; }
    Start({"old.sav"});
    EXPECT_EQ(Window().windowTitle().toStdString(), "old.sav -  ");
    Board start{};
    SetUpStartingPosition(start);
    EXPECT_EQ(TheBoard(), start);
}

TEST_F(FrameworkTest, AMissingFileOnTheCommandLineIsReportedAndEndsTheProgram) {
    platform_ = std::make_unique<platform::qt::QtShellPlatform>();
    app_ = std::make_unique<CChessApp>(*platform_, std::vector<std::string>{"missing.sav"});
    ModalWatcher watcher(Accept);
    EXPECT_FALSE(app_->InitInstance());
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Title().toStdString(), res::kApplicationTitle);
    EXPECT_TRUE(watcher.Text().contains("missing.sav"));
    EXPECT_EQ(app_->GetMainWnd(), nullptr);
}

TEST_F(FrameworkTest, NewFromTheMenuIsTheViewsNotTheDocuments) {
    { std::ofstream("old.sav") << "whatever"; }
    Start({"old.sav"});
    MenuItem(ID_FILE_NEW).trigger();
    // The view took the command first: the game is new, the document (and title) is not.
    EXPECT_EQ(Window().windowTitle().toStdString(), "old.sav -  ");
}

// A view whose command fails the way a file operation does.
class FailingView : public CChessView {
  public:
    bool OnCommand(int commandId) override {
        if (commandId == ID_GAME_SAVE) {
            throw platform::CFileException::FromErrno(ENOSPC, "game.sav");
        }
        return CChessView::OnCommand(commandId);
    }
};

class FailingApp : public CWinApp {
  public:
    using CWinApp::CWinApp;
    bool InitInstance() override {
        AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            res::kMainFrameResource, [] { return std::make_unique<CChessDoc>(); },
            [] { return std::make_unique<CMainFrame>(); },
            [] { return std::make_unique<FailingView>(); }));
        CCommandLineInfo commandLine;
        ParseCommandLine(commandLine);
        return ProcessShellCommand(commandLine);
    }
};

TEST_F(FrameworkTest, AFileErrorEscapingACommandIsReportedInTheFrameworksBox) {
    platform_ = std::make_unique<platform::qt::QtShellPlatform>();
    FailingApp app(*platform_, {});
    ASSERT_TRUE(app.InitInstance());
    ModalWatcher watcher(Accept);
    app.RouteCommand(ID_GAME_SAVE);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Title().toStdString(), "chess");
    EXPECT_TRUE(watcher.Text().contains("game.sav")) << watcher.Text().toStdString();
    // The program goes on.
    EXPECT_TRUE(platform_->MainWindow()->isVisible());
}

TEST_F(FrameworkTest, AnUnknownCommandGoesNowhere) {
    Start();
    const Board before = TheBoard();
    app_->RouteCommand(12345);
    EXPECT_EQ(TheBoard(), before);
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(FrameworkTest, ClosingTheWindowStopsAutoplay) {
    Start();
    MenuItem(ID_GAME_AUTOPLAY).trigger();
    Window().close();
    EXPECT_FALSE(View().IsTimerRunning(0));
}

}  // namespace
}  // namespace kelvane::testing
