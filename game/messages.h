// What the game says to the player.
#pragma once

namespace kelvane {

// End of a game against the human: the computer speaks as "I".
inline constexpr const char* kComputerWonText = "I won!";
inline constexpr const char* kHumanWonText = "You won!";
// End of an autoplay game.
inline constexpr const char* kBlackWinsText = "Black wins!";
inline constexpr const char* kWhiteWinsText = "White wins!";

// The game's own boxes carry no caption at all.
inline constexpr const char* kGameMessageCaption = "";
// Boxes about failed file operations carry the application's title, as the framework's
// own boxes do.
inline constexpr const char* kFileMessageCaption = "chess";

}  // namespace kelvane
