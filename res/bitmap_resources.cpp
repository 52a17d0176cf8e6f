// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/bitmap_resources.h"

#include <vector>

#include "res/piece_art.h"

namespace kelvane::res {

namespace {

struct Sheet {
    std::vector<std::uint32_t> pixels;
    framework::BitmapResource data;
    SquareColours colours;
};

// A sheet whose text does not parse stays empty, so loading it fails instead of showing junk.
Sheet BuildSheet(std::string_view art) {
    Sheet sheet;
    const PieceArtParse parsed = ParsePieceArt(art);
    if (parsed.ok) {
        sheet.pixels = ComposeSheet(parsed.art);
        sheet.data = {kSheetWidth, kSheetHeight, sheet.pixels.data()};
        sheet.colours = {parsed.art.lightSquare, parsed.art.darkSquare};
    }
    return sheet;
}

const framework::BitmapResource* Published(const Sheet& sheet) {
    return sheet.pixels.empty() ? nullptr : &sheet.data;
}

const Sheet* SheetOf(unsigned id) {
    if (id == IDB_STANDARD_SET) {
        static const Sheet standard = BuildSheet(StandardSetArt());
        return &standard;
    }
    if (id == IDB_EXTRA_SET) {
        static const Sheet extra = BuildSheet(ExtraSetArt());
        return &extra;
    }
    return nullptr;
}

}  // namespace

const framework::BitmapResource* FindBitmapResource(unsigned id) {
    const Sheet* sheet = SheetOf(id);
    return sheet != nullptr ? Published(*sheet) : nullptr;
}

SquareColours SquareColoursOf(unsigned sheetId) {
    const Sheet* sheet = SheetOf(sheetId);
    return sheet != nullptr ? sheet->colours : SquareColours{};
}

}  // namespace kelvane::res
