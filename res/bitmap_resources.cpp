#include "res/bitmap_resources.h"

#include <vector>

#include "res/piece_art.h"

namespace kelvane::res {

namespace {

struct Sheet {
    std::vector<std::uint32_t> pixels;
    SheetData data;
};

// A sheet whose text does not parse stays empty, so loading it fails instead of showing junk.
Sheet BuildSheet(std::string_view art) {
    Sheet sheet;
    const PieceArtParse parsed = ParsePieceArt(art);
    if (parsed.ok) {
        sheet.pixels = ComposeSheet(parsed.art);
        sheet.data = {kSheetWidth, kSheetHeight, sheet.pixels.data()};
    }
    return sheet;
}

const SheetData* Published(const Sheet& sheet) {
    return sheet.pixels.empty() ? nullptr : &sheet.data;
}

}  // namespace

const SheetData* FindBitmapResource(unsigned id) {
    if (id == IDB_STANDARD_SET) {
        static const Sheet standard = BuildSheet(StandardSetArt());
        return Published(standard);
    }
    if (id == IDB_EXTRA_SET) {
        static const Sheet extra = BuildSheet(ExtraSetArt());
        return Published(extra);
    }
    return nullptr;
}

}  // namespace kelvane::res
