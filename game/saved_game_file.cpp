#include "game/saved_game_file.h"

#include "platform/file.h"

namespace kelvane {

using platform::CFile;
using platform::CFileException;

std::string WriteSavedGame(const Board& board, const std::string& fileName) {
    const std::string temporaryName = fileName + ".tmp";
    CFile file;
    try {
        CFileException openError;
        if (!file.Open(temporaryName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive,
                       &openError)) {
            throw openError;
        }
        file.Write(board.data(), static_cast<unsigned>(board.size()));
        file.Flush();
        file.Close();
        CFile::Rename(temporaryName, fileName);
    } catch (const CFileException& error) {
        file.Abort();
        try {
            CFile::Remove(temporaryName);
        } catch (const CFileException&) {
            // Never created, or not ours to remove (a directory): nothing to clean.
        }
        return "The game could not be saved. " + error.GetErrorMessage() +
               " Any game saved before is kept.";
    }
    return {};
}

SavedGameRead ReadSavedGame(const std::string& fileName) {
    SavedGameRead result;
    CFile file;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareExclusive)) return result;
    try {
        result.count = static_cast<int>(file.Read(result.codes.data(), 64));
        file.Close();
    } catch (const CFileException& error) {
        file.Abort();
        result.status = SavedGameRead::Status::ReadFailed;
        result.count = 0;
        result.message = "The saved game could not be read. " + error.GetErrorMessage() +
                         " The board is left as it was.";
        return result;
    }
    for (int i = 0; i < result.count; ++i) {
        const SquareCode code = result.codes[static_cast<std::size_t>(i)];
        if (!IsSavedSquareCode(code)) {
            result.status = SavedGameRead::Status::Refused;
            result.count = 0;
            result.message = "\"" + fileName + "\" does not hold a saved game: byte " +
                             std::to_string(i) + " has the value " + std::to_string(code) +
                             ", which is no square code. The board is left as it was.";
            return result;
        }
    }
    result.status = SavedGameRead::Status::Loaded;
    return result;
}

}  // namespace kelvane
