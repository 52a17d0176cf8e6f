// SPDX-License-Identifier: GPL-3.0-or-later
// The program's string table.
#pragma once

namespace kelvane::res {

// String 128: window title, document name, new-file name, filter, file type id and name.
inline constexpr const char* kDocumentStrings = " \n\nChess\n\n\nChess.Document\nChess Document";
// String 57344: the caption of the framework's own message boxes.
inline constexpr const char* kApplicationTitle = "chess";
// Title of every new document; the caption shows it before the frame's title.
inline constexpr const char* kNewDocumentTitle = "- Kelvane ";

}  // namespace kelvane::res
