// The game's save, load and seen-record routines. Every file is written whole or not at all
// (engine/file_store.h), so a failed write never destroys the game or the record that was there.

#include "ui/saves.h"

#include "game/game.h"

namespace corvan {

namespace {
constexpr std::int32_t kClearedGameFlag = 999;
constexpr std::string_view kTitle = "コルヴァン";
constexpr std::string_view kSaveFailed =
    "セーブできませんでした。\n保存先のフォルダに書き込めるか確かめてください。";
}  // namespace

std::filesystem::path Game::SaveFilePath(std::int32_t slot) const {
    return saveFolder / saves::saveFileName(slot);
}

std::filesystem::path Game::SeenRecordPath() const {
    return saveFolder / saves::kSeenRecordName;
}

bool Game::SaveSlot(std::int32_t slot) {
    if (slot < saves::kFirstSlot || slot > saves::kLastSlot) return false;
    // A game saved after the story has been finished once carries flag 999, and the running
    // game counts as cleared once from then on (the settings keep their count).
    if (clearMark != 0) vars.SetFlag(kClearedGameFlag);
    if (vars.TestFlag(kClearedGameFlag)) clearMark = 1;

    std::string error;
    if (!host_.files().write(SaveFilePath(slot), saves::encodeSaveFile(vars), error)) {
        // The old file is untouched; the player must not walk away thinking the game is kept.
        host_.traceEvent("save-error " + error);
        host_.showMessage(kTitle, kSaveFailed, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    host_.traceEvent("save " + std::to_string(slot));
    UpdateSeenRecord();
    ResetRunState();
    LoadChunk("SAVE");
    return true;
}

bool Game::LoadSlot(std::int32_t slot) {
    if (slot < saves::kFirstSlot || slot > saves::kLastSlot) return false;
    std::vector<std::uint8_t> bytes;
    if (!host_.files().read(SaveFilePath(slot), 0, saves::kSaveFileSize, bytes)) return false;
    saves::decodeSaveFile(bytes, vars);
    host_.traceEvent("load " + std::to_string(slot));
    UpdateSeenRecord();
    ResetRunState();
    LoadChunk("LOAD");
    return true;
}

void Game::UpdateSeenRecord() {
    const std::filesystem::path path = SeenRecordPath();
    auto& e = vars.persistentValues();
    std::vector<std::uint8_t> bytes;
    if (host_.files().read(path, 0, saves::kSeenRecordSize, bytes)) {
        saves::mergeSeenRecord(bytes, aMarks, bMarks, e);
    } else {
        aMarks.fill(0);
        bMarks.fill(0);
        e.fill(0);
    }
    std::string error;
    if (!host_.files().write(path, saves::encodeSeenRecord(aMarks, bMarks, e), error)) {
        // The marks stay in memory and reach the file at the next update that succeeds.
        host_.warn("the seen record was not saved: " + error);
    }
}

}  // namespace corvan
