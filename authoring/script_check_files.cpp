// The script checker's look at the game folder: pictures, music and voices, the hotel's place
// chunks and the galleries' pictures, found as the game finds them.

#include <system_error>

#include "authoring/script_checker.h"
#include "engine/file_lookup.h"
#include "hotel/gallery_pictures.h"
#include "hotel/hotel_plates.h"
#include "render/picture_argument.h"
#include "sound/sound_files.h"

namespace corvan::script_check {

bool Checker::hasFile(const std::string& relative, bool scriptName) {
    const auto cached = files_.find(relative);
    if (cached != files_.end()) return cached->second;
    const auto& folder = *input_.gameFolder;
    const auto found =
        scriptName ? findScriptFile(folder, relative) : findIgnoringCase(folder, relative);
    std::error_code ec;
    const bool exists = found && std::filesystem::is_regular_file(*found, ec);
    files_.emplace(relative, exists);
    return exists;
}

void Checker::checkPicture(int chunk, int line, std::string_view text) {
    const PictureArgument picture = parsePictureArgument(text);
    if (picture.kind == 'S') return;
    if (picture.kind != 'A' && picture.kind != 'B') {
        report(chunk, line + 1, Severity::Error,
               picture.name.empty() ? "a picture command without a picture name"
                                    : "the picture name " + inQuotes(picture.name) +
                                          " starts with neither A, B nor S: nothing is shown");
        return;
    }
    if (!input_.gameFolder) return;
    const std::string path = picturePath(picture);
    if (!hasFile(path, true)) {
        report(chunk, line + 1, Severity::Error,
               "the picture " + cp932ToUtf8(path) + " is missing");
    }
}

// Voices are optional in the game, which plays on in silence without one: a warning.
void Checker::checkVoice(int chunk, int line, std::string_view text) {
    const std::string_view name = sound::voiceName(text);
    if (name.empty()) {
        report(chunk, line + 1, Severity::Warning, "a voice without a name");
        return;
    }
    if (!input_.gameFolder) return;
    const auto candidates = sound::voiceFileNames(name);
    if (hasFile(candidates[0], true) || hasFile(candidates[1], true)) return;
    report(chunk, line + 1, Severity::Warning,
           "the voice " + cp932ToUtf8(name) + " is missing (" + cp932ToUtf8(candidates[0]) +
               " or " + cp932ToUtf8(candidates[1]) + "): the game plays on without it");
}

void Checker::checkMusic(int chunk, int line, std::int32_t track) {
    if (track == 0 || !input_.gameFolder) return;
    const std::string name = sound::musicFileName(track);
    if (!hasFile(name, false)) {
        report(chunk, line + 1, Severity::Error,
               "the music " + name + " is missing: the game tells the player it cannot open it");
    }
}

void Checker::enterHotel(int chunk, int line) {
    if (!following_) return;
    const Flow fresh = Flow::freshChapter();
    for (std::string_view place : hotel::kPlaceChunks) enterFixed(place, fresh);
    firstMove_ = std::min(firstMove_, std::pair(chunk, line));
}

// The places' chunks are told of once, at the first *move of the script.
void Checker::checkHotel() {
    if (firstMove_.first == kNoChunk) return;
    const auto [chunk, line] = firstMove_;
    if (findChunk(hotel::kCollectChunk) < 0) {
        report(chunk, line + 1, Severity::Warning,
               "the game has no chunk IVE: 徴収 and the floor map start nothing, and the story "
               "goes on after *move");
    }
    std::string missing;
    for (std::string_view place : hotel::kPlaceChunks) {
        if (place == hotel::kCollectChunk || findChunk(place) >= 0) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(place);
    }
    if (!missing.empty()) {
        report(
            chunk, line + 1, Severity::Warning,
            "the hotel map's places " + missing + " have no chunk: a click on them runs only IVE");
    }
}

void Checker::checkView(int chunk, int line, std::int32_t kind) {
    if (kind < 1 || kind > 3) {
        report(chunk, line + 1, Severity::Warning,
               "*view " + std::to_string(kind) +
                   " opens no screen: the story waits for a click on the close button's place "
                   "(write *view 1, 2 or 3 with one blank)");
        return;
    }
    if (kind == 3 && following_) {
        // A scene runs as a called chunk; its `end` returns to the menu.
        Flow scene;
        scene.inCall = true;
        for (std::string_view name : gallery::kSceneChunks) {
            if (!name.empty()) enterFixed(name, scene);
        }
    }
    if (!input_.gameFolder || !viewsChecked_.insert(kind).second) return;
    std::vector<std::string> pictures;
    if (kind == 3) {
        pictures.emplace_back(gallery::kSceneMenuPicture);
    } else {
        for (int page = 1; page <= gallery::kPageCount; ++page) {
            pictures.push_back(gallery::pagePicture(kind == 1, page));
        }
        auto addItems = [&](const auto& table) {
            for (const auto& page : table) {
                for (std::string_view name : page) {
                    if (!name.empty()) pictures.emplace_back(name);
                }
            }
        };
        if (kind == 1) addItems(gallery::kGallery1Pictures);
        if (kind == 2) addItems(gallery::kGallery2Pictures);
    }
    std::string missing;
    std::set<std::string> named;
    for (const std::string& name : pictures) {
        if (!named.insert(name).second) continue;
        if (!hasFile(picturePath(parsePictureArgument(name)), true)) {
            missing += (missing.empty() ? "" : ", ") + name;
        }
    }
    if (!missing.empty()) {
        report(
            chunk, line + 1, Severity::Error,
            "*view " + std::to_string(kind) + " shows pictures the game folder lacks: " + missing);
    }
}

}  // namespace corvan::script_check
