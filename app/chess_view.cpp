// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chess_view.h"

#include "app/board_drawing.h"
#include "app/display_settings.h"
#include "framework/command_ids.h"
#include "game/saved_game_file.h"
#include "res/command_ids.h"
#include "res/string_resource.h"

namespace kelvane {

using namespace framework;
using namespace res;

namespace {
// The game's own boxes carry no caption at all.
constexpr const char* kGameMessageCaption = "";
}  // namespace

CChessView::CChessView() : game_(*this) {}

void CChessView::OnDraw(CDC* dc) {
    DrawBoard(dc, game_.GetBoard(), TheGameState());
}

bool CChessView::OnCommand(int commandId) {
    switch (commandId) {
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_GAME_COMPUTER_STARTS:
            OnGameComputerStarts();
            return true;
        case ID_GAME_SAVE:
            OnGameSave();
            return true;
        case ID_GAME_LOAD:
            OnGameLoad();
            return true;
        case ID_GAME_AUTOPLAY:
            OnGameAutoplay();
            return true;
        case ID_GAME_STOP:
            OnGameStop();
            return true;
        case ID_GAME_HINT:
            OnGameHint();
            return true;
        case ID_EDIT_UNDO:
            OnEditUndo();
            return true;
        default:
            return false;
    }
}

void CChessView::OnLButtonDown(unsigned flags, CPoint point) {
    (void)flags;
    game_.Click(SquareAt(point.x, point.y));
}

void CChessView::OnRButtonDown(unsigned flags, CPoint point) {
    (void)flags;
    (void)point;
}

// One move of autoplay, whatever the timer's id.
void CChessView::OnTimer(std::uintptr_t id) {
    (void)id;
    game_.AutoplayTick();
}

void CChessView::OnGameSave() {
    game_.Save(kSavedGameFileName);
}

void CChessView::OnGameLoad() {
    game_.Load(kSavedGameFileName);
}

void CChessView::Invalidate() {
    InvalidateRect(nullptr, false);
}

// Draws at once through a device context of the window, without waiting for the next paint:
// the search that follows would hold the paint back.
void CChessView::DrawNow() {
    CDC* dc = GetDC();
    if (dc == nullptr) return;
    OnDraw(dc);
    ReleaseDC(dc);
}

void CChessView::UpdateWindow() {
    CView::UpdateWindow();
}

void CChessView::AnnounceResult(const std::string& text) {
    MessageBox(text, kGameMessageCaption, MB_OK);
}

void CChessView::ReportFileProblem(const std::string& text) {
    MessageBox(text, kApplicationTitle, MB_OK);
}

void CChessView::StartAutoplayTimer() {
    SetTimer(kAutoplayTimerId, kAutoplayIntervalMs);
}

void CChessView::StopAutoplayTimer() {
    KillTimer(kAutoplayTimerId);
}

void CChessView::BeginWait() {
    BeginWaitCursor();
}

void CChessView::EndWait() {
    EndWaitCursor();
}

void CChessView::Pause(unsigned milliseconds) {
    Sleep(milliseconds);
}

}  // namespace kelvane
