// SPDX-License-Identifier: GPL-3.0-or-later
// The board view of the window with extras (kelvane --extras): the Expert thinking on a worker
// thread, the status line, the final position kept, either colour, coordinates, records and
// keyboard play. The classic view underneath stays as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chess_view.h"
#include "app/search_worker.h"
#include "app/window_record.h"
#include "record/pgn_writer.h"

namespace kelvane {

struct ExtrasOptions {
    // Every game is appended here as it ends (or is left), when set.
    std::shared_ptr<PgnFile> pgnFile;
    // The Expert's search for the worker thread; null for the real one.
    std::function<std::unique_ptr<MoveThinker>()> makeThinker;
};

// The message that brings the worker's answer: its request's number and the move.
inline constexpr unsigned kSearchAnswerMessage = framework::WM_APP + 1;

class CExtrasView : public CChessView {
  public:
    explicit CExtrasView(ExtrasOptions options);
    ~CExtrasView() override;

    void OnInitialUpdate() override;
    void OnDraw(framework::CDC* dc) override;
    bool OnCommand(int commandId) override;
    void OnLButtonDown(unsigned flags, framework::CPoint point) override;
    void OnTimer(std::uintptr_t id) override;
    void OnKeyDown(unsigned virtualKey) override;
    void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    void OnLevelChanged(bool expert) override;
    void OnRulesChanged() override;
    int ExtraWidth() const override;
    int ExtraHeight() const override;

    const std::string& StatusText() const { return status_; }
    bool IsThinking() const { return worker_ != nullptr && worker_->IsBusy(); }
    bool HasWorkerThread() const { return worker_ != nullptr && worker_->HasThread(); }
    bool IsTurned() const { return turned_; }
    const WindowRecord& Record() const { return record_; }
    // For tests: waits until the worker has nothing left to think.
    void WaitForWorker();

  private:
    enum class Purpose { Reply, Autoplay };

    // The game's requests.
    void Invalidate() override;
    void StartAutoplayTimer() override;
    void StopAutoplayTimer() override;
    void GameOver(const Verdict& verdict) override;
    void ComputerToMove(Side side) override;
    void MovePlayed(Side side, MoveWord move) override;

    // A click on a board square, or beside the board: by the mouse or by Enter.
    void ClickSquare(std::optional<Square> square);
    void StartGame(Side humanSide, bool computerStarts);
    void Load();
    void Undo();
    void SaveRecord();
    // The computer moves if it is its turn in a game against the human: at once at the classic
    // levels, on the worker at Expert.
    void ComputerMoveDue();
    void RequestSearch(Side side, Purpose purpose);
    // False when nothing was thinking.
    bool CancelThinking();
    void PlayAnswer(MoveWord move);
    // The game so far, in PGN, with its result, or "*" while it goes on.
    std::string RecordPgn() const;
    void AppendToPgnFile();
    void StartRecord(const Board& board, bool setUp);
    // "Human", "Kelvane, Expert", or both when autoplay moved for the human too.
    std::string PlayerName(Side side) const;
    // The game in the record is left: it goes to the PGN file, and the next one has the next
    // number.
    void CloseRecord();
    void MoveCursor(int columns, int rows);
    void RefreshStatus();
    // Tells a screen reader the square under the cursor; again: also when it has not changed.
    void Announce(bool again = false);
    void ClearExplanation();

    ExtrasOptions options_;
    std::unique_ptr<SearchWorker> worker_;
    Purpose purpose_ = Purpose::Reply;
    bool expert_ = false;
    bool autoplayOn_ = false;
    bool autoplayEnded_ = false;  // the game that ended was being played on the timer
    bool applyingAnswer_ = false;
    bool clicking_ = false;  // a move played now is the human's
    bool turned_ = false;
    int statusHeight_ = 0;
    std::string status_;
    std::string explanation_;        // why the last click did not move, until the next one
    std::vector<Square> capturers_;  // framed while the explanation is a forced capture
    Square cursor_{4, 6};            // e2
    bool cursorShown_ = false;
    WindowRecord record_;
    bool recordWritten_ = false;
    bool recordUsed_ = false;  // a move has been added since the record started
    int gameNumber_ = 1;
    std::string recordLevel_ = "Easy";  // the level at the record's start; remarks tell changes
    std::string currentLevel_ = "Easy";
};

}  // namespace kelvane
