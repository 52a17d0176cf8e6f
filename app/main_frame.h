// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a fixed-size frame sized to the board, with the Level, Rules and Options
// settings.
#pragma once

#include "framework/frame_wnd.h"

namespace kelvane {

class CMainFrame : public framework::CFrameWnd {
  public:
    CMainFrame();

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

  private:
    // Back to (100, 100), sized to the board of the current square size.
    void SizeToBoard();
    void CheckOnly(int checkedId, std::initializer_list<int> group);
    void RepaintView();
};

}  // namespace kelvane
