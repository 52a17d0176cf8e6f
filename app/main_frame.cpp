// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_frame.h"

#include "app/chess_view.h"
#include "app/display_settings.h"
#include "engine/search_depth.h"
#include "framework/frame_backend.h"
#include "res/command_ids.h"
#include "rules/evaluation.h"

namespace kelvane {

using namespace framework;
using namespace res;

namespace {
constexpr int kWindowLeft = 100;
constexpr int kWindowTop = 100;

constexpr std::initializer_list<int> kLevelItems{ID_LEVEL_EASY, ID_LEVEL_MEDIUM, ID_LEVEL_HARD};
constexpr std::initializer_list<int> kExtrasLevelItems{ID_LEVEL_EASY, ID_LEVEL_MEDIUM,
                                                       ID_LEVEL_HARD, ID_LEVEL_EXPERT};
constexpr std::initializer_list<int> kRulesItems{ID_RULES_KING_MUST_DIE, ID_RULES_ALL_MUST_DIE};
constexpr std::initializer_list<int> kBoardItems{ID_OPTIONS_SMALL_BOARD, ID_OPTIONS_MEDIUM_BOARD,
                                                 ID_OPTIONS_LARGE_BOARD};
constexpr std::initializer_list<int> kSetItems{ID_OPTIONS_STANDARD_SET, ID_OPTIONS_EXTRA_SET};
}  // namespace

CMainFrame::CMainFrame(bool extras) : extras_(extras) {
    SetSquareSize(kMediumSquare);
}

int CMainFrame::OnCreate(CCreateContext& context) {
    ModifyStyle(WS_THICKFRAME, WS_CAPTION);
    if (CFrameWnd::OnCreate(context) == -1) return -1;
    ModifyStyle(WS_MAXIMIZEBOX, WS_MINIMIZEBOX);
    SizeToBoard();
    return 0;
}

bool CMainFrame::OnCommand(int commandId) {
    switch (commandId) {
        case ID_LEVEL_EASY:
            OnLevelEasy();
            return true;
        case ID_LEVEL_MEDIUM:
            OnLevelMedium();
            return true;
        case ID_LEVEL_HARD:
            OnLevelHard();
            return true;
        case ID_RULES_KING_MUST_DIE:
            OnRulesKingMustDie();
            return true;
        case ID_RULES_ALL_MUST_DIE:
            OnRulesAllMustDie();
            return true;
        case ID_OPTIONS_SMALL_BOARD:
            OnOptionsSmallBoard();
            return true;
        case ID_OPTIONS_MEDIUM_BOARD:
            OnOptionsMediumBoard();
            return true;
        case ID_OPTIONS_LARGE_BOARD:
            OnOptionsLargeBoard();
            return true;
        case ID_OPTIONS_STANDARD_SET:
            OnOptionsStandardSet();
            return true;
        case ID_OPTIONS_EXTRA_SET:
            OnOptionsExtraSet();
            return true;
        case ID_LEVEL_EXPERT:
            if (!extras_) return false;
            OnLevelExpert();
            return true;
        default:
            return false;
    }
}

void CMainFrame::OnLevelEasy() {
    SetSearchDepth(kDepthEasy);
    CheckOnly(ID_LEVEL_EASY, extras_ ? kExtrasLevelItems : kLevelItems);
    if (CChessView* view = ExtrasView()) view->OnLevelChanged(false);
}

void CMainFrame::OnLevelMedium() {
    SetSearchDepth(kDepthMedium);
    CheckOnly(ID_LEVEL_MEDIUM, extras_ ? kExtrasLevelItems : kLevelItems);
    if (CChessView* view = ExtrasView()) view->OnLevelChanged(false);
}

void CMainFrame::OnLevelHard() {
    SetSearchDepth(kDepthHard);
    CheckOnly(ID_LEVEL_HARD, extras_ ? kExtrasLevelItems : kLevelItems);
    if (CChessView* view = ExtrasView()) view->OnLevelChanged(false);
}

void CMainFrame::OnRulesKingMustDie() {
    SetRulesVariant(kKingMustDie);
    CheckOnly(ID_RULES_KING_MUST_DIE, kRulesItems);
    if (CChessView* view = ExtrasView()) view->OnRulesChanged();
}

void CMainFrame::OnRulesAllMustDie() {
    SetRulesVariant(kAllMustDie);
    CheckOnly(ID_RULES_ALL_MUST_DIE, kRulesItems);
    if (CChessView* view = ExtrasView()) view->OnRulesChanged();
}

void CMainFrame::OnOptionsSmallBoard() {
    SetSquareSize(kSmallSquare);
    CheckOnly(ID_OPTIONS_SMALL_BOARD, kBoardItems);
    SizeToBoard();
}

void CMainFrame::OnOptionsMediumBoard() {
    SetSquareSize(kMediumSquare);
    CheckOnly(ID_OPTIONS_MEDIUM_BOARD, kBoardItems);
    SizeToBoard();
}

void CMainFrame::OnOptionsLargeBoard() {
    SetSquareSize(kLargeSquare);
    CheckOnly(ID_OPTIONS_LARGE_BOARD, kBoardItems);
    SizeToBoard();
}

void CMainFrame::OnOptionsStandardSet() {
    SetPieceSet(kStandardSet);
    CheckOnly(ID_OPTIONS_STANDARD_SET, kSetItems);
    RepaintView();
}

void CMainFrame::OnOptionsExtraSet() {
    SetPieceSet(kExtraSet);
    CheckOnly(ID_OPTIONS_EXTRA_SET, kSetItems);
    RepaintView();
}

// The Expert thinks on its own time; the search depth stays as it was, for the hint.
void CMainFrame::OnLevelExpert() {
    CheckOnly(ID_LEVEL_EXPERT, kExtrasLevelItems);
    if (CChessView* view = ExtrasView()) view->OnLevelChanged(true);
}

void CMainFrame::SizeToBoard() {
    const int boardSide = 8 * GetSquareSize();
    // The window with extras also has the coordinates and the status line.
    const CChessView* view = ChessView();
    const int extraWidth = view != nullptr ? view->ExtraWidth() : 0;
    const int extraHeight = view != nullptr ? view->ExtraHeight() : 0;
    MoveWindow(kWindowLeft, kWindowTop, boardSide + extraWidth + 10,
               boardSide + extraHeight + GetSystemMetrics(SM_CYSIZE) +
                   GetSystemMetrics(SM_CYMENUSIZE) + 12,
               true);
}

CChessView* CMainFrame::ChessView() const {
    return dynamic_cast<CChessView*>(GetActiveView());
}

CChessView* CMainFrame::ExtrasView() const {
    return extras_ ? ChessView() : nullptr;
}

void CMainFrame::CheckOnly(int checkedId, std::initializer_list<int> group) {
    for (const int id : group) {
        GetMenu()->CheckMenuItem(id, id == checkedId ? MF_CHECKED : MF_UNCHECKED);
    }
}

void CMainFrame::RepaintView() {
    if (CView* view = GetActiveView()) view->InvalidateRect(nullptr, false);
}

}  // namespace kelvane
