// The shell's start-up and settings as calls on the window system, watched through a
// recording platform: no Qt involved.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "engine/search_depth.h"
#include "game/command_ids.h"
#include "game/display_settings.h"
#include "rules/evaluation.h"
#include "tests/shell/shell_fixture.h"
#include "ui/chess_app.h"

namespace kelvane::testing {
namespace {

constexpr int kCySize = 18;
constexpr int kCyMenuSize = 19;

class RecordingFrame : public FrameBackend {
  public:
    explicit RecordingFrame(std::vector<std::string>& log) : log_(log) {}
    bool ModifyStyle(unsigned long remove, unsigned long add) override {
        std::ostringstream call;
        call << std::hex << "ModifyStyle(" << remove << "," << add << ")";
        log_.push_back(call.str());
        return true;
    }
    void MoveWindow(int x, int y, int width, int height, bool repaint) override {
        log_.push_back("MoveWindow(" + std::to_string(x) + "," + std::to_string(y) + "," +
                       std::to_string(width) + "," + std::to_string(height) + "," +
                       (repaint ? "true" : "false") + ")");
    }
    int GetSystemMetrics(int index) override {
        return index == SM_CYSIZE ? kCySize : index == SM_CYMENUSIZE ? kCyMenuSize : 0;
    }
    unsigned CheckMenuItem(int commandId, unsigned check) override {
        log_.push_back("Check(" + std::to_string(commandId) + "," +
                       (check == MF_CHECKED ? "on" : "off") + ")");
        return MF_UNCHECKED;
    }
    void SetWindowText(const std::string& caption) override {
        log_.push_back("SetWindowText(" + caption + ")");
    }
    void ShowWindow() override { log_.push_back("ShowWindow"); }
    void DestroyWindow() override { log_.push_back("DestroyWindow"); }

  private:
    std::vector<std::string>& log_;
};

class RecordingView : public platform::WindowBackend {
  public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}
    void InvalidateRect(bool erase) override {
        log_.push_back(std::string("View.InvalidateRect(") + (erase ? "true" : "false") + ")");
    }
    void UpdateWindow() override {}
    platform::CDC* GetDC() override { return nullptr; }
    void ReleaseDC(platform::CDC*) override {}
    bool SetTimer(std::uintptr_t, unsigned) override { return true; }
    bool KillTimer(std::uintptr_t) override { return true; }
    int MessageBox(const std::string&, const std::string&, unsigned) override {
        return platform::IDOK;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void Sleep(unsigned) override {}

  private:
    std::vector<std::string>& log_;
};

class RecordingPlatform : public ShellPlatform {
  public:
    FrameBackend* CreateFrameWindow(CommandSink commands) override {
        log.push_back("CreateFrameWindow");
        if (failFrame) return nullptr;
        commands_ = std::move(commands);
        frame_ = std::make_unique<RecordingFrame>(log);
        return frame_.get();
    }
    platform::WindowBackend* CreateViewWindow(FrameBackend*, platform::CView*) override {
        log.push_back("CreateViewWindow");
        view_ = std::make_unique<RecordingView>(log);
        return view_.get();
    }
    int RunModalDialog(const res::DialogResource& dialog) override {
        log.push_back(std::string("RunModalDialog(") + dialog.caption + ")");
        return platform::IDOK;
    }
    std::optional<std::string> PromptForFileToOpen() override { return chosenFile; }
    int MessageBox(const std::string& text, const std::string& caption) override {
        log.push_back("MessageBox(" + text + "|" + caption + ")");
        return platform::IDOK;
    }

    void Command(int id) { commands_(id); }

    std::vector<std::string> log;
    bool failFrame = false;
    std::optional<std::string> chosenFile;

  private:
    CommandSink commands_;
    std::unique_ptr<RecordingFrame> frame_;
    std::unique_ptr<RecordingView> view_;
};

class StartUpOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetRulesVariant(1);
        SetPieceSet(kStandardSet);
    }
    // The log from the given entry on.
    std::vector<std::string> LogFrom(std::size_t first) const {
        return {platform_.log.begin() + static_cast<std::ptrdiff_t>(first), platform_.log.end()};
    }
    RecordingPlatform platform_;
};

TEST_F(StartUpOrderTest, CreatesTheWindowsInTheFrameworksOrder) {
    SetSquareSize(80);  // the frame's constructor puts it back to 40
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    const std::vector<std::string> expected{
        "CreateFrameWindow",
        "ModifyStyle(40000,c00000)",
        "CreateViewWindow",
        "ModifyStyle(10000,20000)",
        "MoveWindow(100,100,330," + std::to_string(320 + kCySize + kCyMenuSize + 12) + ",true)",
        "SetWindowText(- Kelvane  -  )",
        "ShowWindow",
        "View.InvalidateRect(true)",
    };
    EXPECT_EQ(platform_.log, expected);
    EXPECT_EQ(GetSearchDepth(), 2);
}

TEST_F(StartUpOrderTest, AFrameThatCannotBeCreatedEndsTheProgram) {
    platform_.failFrame = true;
    CChessApp app(platform_, {});
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.GetMainWnd(), nullptr);
}

struct BoardSizeCase {
    int commandId;
    int squareSize;
};

class BoardSizeOrderTest : public StartUpOrderTest,
                           public ::testing::WithParamInterface<BoardSizeCase> {};

TEST_P(BoardSizeOrderTest, ChecksTheMarksThenResizesToTheFormula) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    const std::size_t first = platform_.log.size();
    platform_.Command(GetParam().commandId);
    const int s = GetParam().squareSize;
    auto mark = [&](int id) {
        return "Check(" + std::to_string(id) + "," + (id == GetParam().commandId ? "on" : "off") +
               ")";
    };
    const std::vector<std::string> expected{
        mark(ID_OPTIONS_SMALL_BOARD),
        mark(ID_OPTIONS_MEDIUM_BOARD),
        mark(ID_OPTIONS_LARGE_BOARD),
        "MoveWindow(100,100," + std::to_string(8 * s + 10) + "," +
            std::to_string(8 * s + kCySize + kCyMenuSize + 12) + ",true)",
    };
    EXPECT_EQ(LogFrom(first), expected);
    EXPECT_EQ(GetSquareSize(), s);
}

INSTANTIATE_TEST_SUITE_P(Shell, BoardSizeOrderTest,
                         ::testing::Values(BoardSizeCase{ID_OPTIONS_SMALL_BOARD, 35},
                                           BoardSizeCase{ID_OPTIONS_MEDIUM_BOARD, 40},
                                           BoardSizeCase{ID_OPTIONS_LARGE_BOARD, 80}),
                         [](const auto& param) {
                             return "Square" + std::to_string(param.param.squareSize);
                         });

TEST_F(StartUpOrderTest, APieceSetRepaintsWithoutErasing) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    const std::size_t first = platform_.log.size();
    platform_.Command(ID_OPTIONS_EXTRA_SET);
    const std::vector<std::string> expected{
        "Check(" + std::to_string(ID_OPTIONS_STANDARD_SET) + ",off)",
        "Check(" + std::to_string(ID_OPTIONS_EXTRA_SET) + ",on)",
        "View.InvalidateRect(false)",
    };
    EXPECT_EQ(LogFrom(first), expected);
    EXPECT_EQ(GetPieceSet(), kExtraSet);
}

TEST_F(StartUpOrderTest, LevelAndRulesOnlySetAndCheck) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    const std::size_t first = platform_.log.size();
    platform_.Command(ID_LEVEL_HARD);
    platform_.Command(ID_RULES_ALL_MUST_DIE);
    const std::vector<std::string> expected{
        "Check(" + std::to_string(ID_LEVEL_EASY) + ",off)",
        "Check(" + std::to_string(ID_LEVEL_MEDIUM) + ",off)",
        "Check(" + std::to_string(ID_LEVEL_HARD) + ",on)",
        "Check(" + std::to_string(ID_RULES_KING_MUST_DIE) + ",off)",
        "Check(" + std::to_string(ID_RULES_ALL_MUST_DIE) + ",on)",
    };
    EXPECT_EQ(LogFrom(first), expected);
    EXPECT_EQ(GetSearchDepth(), 6);
    EXPECT_EQ(GetRulesVariant(), 0);
}

TEST_F(StartUpOrderTest, AboutRunsTheAboutTemplate) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    platform_.Command(ID_APP_ABOUT);
    EXPECT_EQ(platform_.log.back(), "RunModalDialog(About Kelvane...)");
}

TEST_F(StartUpOrderTest, OpenTakesTheFilesNameAsTitle) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    ScratchDirectory scratch;
    { std::ofstream(scratch.Path() / "position.txt") << "anything"; }
    platform_.chosenFile = (scratch.Path() / "position.txt").string();
    platform_.Command(ID_FILE_OPEN);
    EXPECT_EQ(app.GetDocument()->GetTitle(), "position.txt");
    EXPECT_NE(
        std::find(platform_.log.begin(), platform_.log.end(), "SetWindowText(position.txt -  )"),
        platform_.log.end());
}

TEST_F(StartUpOrderTest, AnUnreadableFileIsReportedAndTheTitleStays) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    platform_.chosenFile = "/nonexistent/dir/file";
    platform_.Command(ID_FILE_OPEN);
    EXPECT_EQ(app.GetDocument()->GetTitle(), "- Kelvane ");
    ASSERT_FALSE(platform_.log.empty());
    EXPECT_EQ(platform_.log.back().rfind("MessageBox(", 0), 0u);
    EXPECT_NE(platform_.log.back().find("|chess)"), std::string::npos);
}

TEST_F(StartUpOrderTest, QuitDestroysTheFrame) {
    CChessApp app(platform_, {});
    ASSERT_TRUE(app.InitInstance());
    platform_.Command(ID_APP_EXIT);
    EXPECT_EQ(platform_.log.back(), "DestroyWindow");
    EXPECT_FALSE(app.GetMainWnd()->HasWindow());
    // A command after the window went does nothing harmful.
    platform_.Command(ID_OPTIONS_LARGE_BOARD);
    platform_.Command(ID_FILE_NEW);
}

}  // namespace
}  // namespace kelvane::testing
