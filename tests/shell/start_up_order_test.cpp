// The shell's start-up and file errors as calls on the window system, watched through a
// recording platform: no Qt involved.
#include <gtest/gtest.h>

#include <sstream>

#include "app/chess_app.h"
#include "app/display_settings.h"
#include "framework/command_ids.h"
#include "framework/testing/recording_backend.h"
#include "res/command_ids.h"

namespace kelvane::testing {
namespace {

using namespace framework;
using namespace res;

// "name(a,b,...)", as the log shows a call.
template <typename... Args>
std::string Call(const char* name, Args... args) {
    std::ostringstream call;
    const char* separator = "";
    call << std::boolalpha << name << "(";
    ((call << separator << args, separator = ","), ...);
    return call.str() + ")";
}

// One log for the frame and the view, so that it holds all calls in their order. With no file
// chosen, the chooser fails the way a file operation does.
class RecordingPlatform : public ShellPlatform, public FrameBackend {
  public:
    FrameBackend* CreateFrameWindow(CommandSink commands) override {
        commands_ = std::move(commands);
        view.Record("CreateFrameWindow");
        return this;
    }
    framework::WindowBackend* CreateViewWindow(FrameBackend*, framework::CView*) override {
        view.Record("CreateViewWindow");
        return &view;
    }
    int RunModalDialog(const DialogResource&) override { return framework::IDOK; }
    std::optional<std::string> PromptForFileToOpen() override {
        if (!chosenFile) throw framework::CFileException::FromErrno(ENOSPC, "game.sav");
        return chosenFile;
    }
    int MessageBox(const std::string& text, const std::string& caption) override {
        view.Record(Call("MessageBox", text, caption));
        return framework::IDOK;
    }
    bool ModifyStyle(unsigned long remove, unsigned long add) override {
        view.Record(Call("ModifyStyle", remove, add));
        return true;
    }
    void MoveWindow(int x, int y, int width, int height, bool repaint) override {
        view.Record(Call("MoveWindow", x, y, width, height, repaint));
    }
    int GetSystemMetrics(int index) override { return index == SM_CYSIZE ? 18 : 19; }
    unsigned CheckMenuItem(int id, unsigned check) override {
        view.Record(Call("Check", id, check));
        return MF_UNCHECKED;
    }
    void SetWindowText(const std::string& text) override { view.Record(Call("SetText", text)); }
    void ShowWindow() override { view.Record("ShowWindow"); }
    void DestroyWindow() override { view.Record("DestroyWindow"); }

    // The calls a command makes.
    std::vector<std::string> LogOf(int commandId) {
        view.ClearLog();
        commands_(commandId);
        return view.Log();
    }

    framework::RecordingBackend view;
    std::optional<std::string> chosenFile;

  private:
    CommandSink commands_;
};

// The framework's box for a file error names the file.
bool IsFileErrorBox(const std::vector<std::string>& log, const std::string& file) {
    return !log.empty() && log.back().starts_with("MessageBox(") &&
           log.back().find(file) != std::string::npos && log.back().ends_with(",chess)");
}

class StartUpOrderTest : public ::testing::Test {
  protected:
    RecordingPlatform platform_;
};

TEST_F(StartUpOrderTest, CreatesTheWindowsInTheFrameworksOrder) {
    SetSquareSize(80);  // the frame's constructor puts it back to 40
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    const std::vector<std::string> expected{
        "CreateFrameWindow", Call("ModifyStyle", WS_THICKFRAME, WS_CAPTION), "CreateViewWindow",
        Call("ModifyStyle", WS_MAXIMIZEBOX, WS_MINIMIZEBOX),
        // The window-size formula with both system metrics: 8 * 40 + 18 + 19 + 12 high.
        Call("MoveWindow", 100, 100, 330, 369, true), "SetText(- Kelvane  -  )", "ShowWindow",
        "InvalidateRect(true)"};
    EXPECT_EQ(platform_.view.Log(), expected);
}

TEST_F(StartUpOrderTest, AMissingFileOnTheCommandLineIsReportedAndEndsTheProgram) {
    CChessApp app(platform_, {"missing.sav"});
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    EXPECT_TRUE(IsFileErrorBox(platform_.view.Log(), "missing.sav"));
}

// File errors are told in the framework's box and the program goes on.
TEST_F(StartUpOrderTest, FileErrorsAreReportedAndQuitThenEndsAllForGood) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(IsFileErrorBox(platform_.LogOf(ID_FILE_OPEN), "game.sav")) << "as an exception";
    platform_.chosenFile = "/nonexistent/dir/file";
    EXPECT_TRUE(IsFileErrorBox(platform_.LogOf(ID_FILE_OPEN), "/nonexistent/dir/file"));
    EXPECT_EQ(app.GetDocument()->GetTitle(), "- Kelvane ");

    EXPECT_EQ(platform_.LogOf(ID_APP_EXIT).back(), "DestroyWindow");
    EXPECT_FALSE(app.GetMainWnd()->HasWindow());
    // A command after the window went does nothing harmful.
    platform_.LogOf(ID_OPTIONS_LARGE_BOARD);
    platform_.LogOf(ID_FILE_NEW);
}

}  // namespace
}  // namespace kelvane::testing
