// Where the game's music and voice clips are found: their names and paths.

#include "sound/sound_files.h"

#include <cstdio>

namespace corvan::sound {

std::string musicFileName(std::int32_t track) {
    char name[32];
    std::snprintf(name, sizeof name, "MIDI/%02d.MID", static_cast<int>(track));
    return name;
}

std::string_view voiceName(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && length < kMaxVoiceName && text[length] != '\0' &&
           text[length] != ']') {
        ++length;
    }
    return text.substr(0, length);
}

std::array<std::string, 2> voiceFileNames(std::string_view name) {
    std::string inFolder = "wave/";
    if (!name.empty()) {
        inFolder += name.front();
        inFolder += '/';
        inFolder += name;
        inFolder += ".wav";
    }
    return {inFolder, "wave/" + std::string(name) + ".wav"};
}

}  // namespace corvan::sound
