// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a fixed-size frame sized to the board, with the Level, Rules and Options
// settings.
#pragma once

#include "framework/frame_wnd.h"

namespace kelvane {

class CChessView;

class CMainFrame : public framework::CFrameWnd {
  public:
    // extras: the window of kelvane --extras, with the Expert level and the view's extra room.
    explicit CMainFrame(bool extras = false);

    int OnCreate(framework::CCreateContext& context) override;
    bool OnCommand(int commandId) override;

    void OnLevelEasy();
    void OnLevelMedium();
    void OnLevelHard();
    void OnRulesKingMustDie();
    void OnRulesAllMustDie();
    void OnOptionsSmallBoard();
    void OnOptionsMediumBoard();
    void OnOptionsLargeBoard();
    void OnOptionsStandardSet();
    void OnOptionsExtraSet();
    void OnLevelExpert();

  private:
    // Back to (100, 100), sized to the board of the current square size.
    void SizeToBoard();
    void CheckOnly(int checkedId, std::initializer_list<int> group);
    void RepaintView();
    CChessView* ChessView() const;
    // The view to tell of a change of level or rules: only the window with extras has one.
    CChessView* ExtrasView() const;

    bool extras_;
};

}  // namespace kelvane
