#pragma once

// Settings files that every program must read alike. The game (tests/shell), the updater
// (tests/updater) and corvan-replay --config (tests/settings) each run over this one table,
// so that they agree on every file. In a fixture's text "@SAVE@" stands for a save folder whose
// name holds ", " (`kFixtureSaveFolder`) and "@GAME@" for a game folder holding mg_data.stf;
// each test makes both and fills them in with `fixtureText`.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace corvan::test {

inline constexpr std::string_view kFixtureSaveFolder = "my saves, old";

struct SettingsFixture {
    const char* name;
    std::string_view text;
    bool installed;            // SaveDir names @SAVE@ and GameDir @GAME@; else no SaveDir
    std::int32_t speedFactor;  // the transition speed factor the game takes from GMode
};

inline constexpr SettingsFixture kSettingsFixtures[] = {
    {"byte order mark and comments",
     "\xEF\xBB\xBF; Brackwell.ini, kept by hand\n# GMode=2 is too fast\n[Corvan]\n"
     ";SaveDir=/nowhere\nSaveDir = @SAVE@\nGameDir=@GAME@\nGMode=0x1\n",
     true, 2},
    {"other sections and free text",
     "[General]\nSaveDir=/nowhere\na line without an equals sign\n\n[corvan]\nsavedir=@SAVE@\n"
     "GAMEDIR=@GAME@\n\n[Other]\nGMode=1\n",
     true, 1},
    {"CRLF line ends", "[Corvan]\r\nSaveDir=@SAVE@  \r\nGameDir=@GAME@\r\nGMode=2\r\n", true, 3},
    {"first of two values, not octal",
     "; caf\xE9, not UTF-8\n[Corvan]\nSaveDir=@SAVE@\nSaveDir=/second\nGameDir=@GAME@\nGMode=08\n",
     true, 9},
    {"trailing text is no number", "[Corvan]\nSaveDir=@SAVE@\nGameDir=@GAME@\nGMode=1abc\n", true,
     1},
    {"largest GMode, no final line break",
     "[Corvan]\nGMode=2147483647\nSaveDir=@SAVE@\nGameDir=@GAME@", true,
     std::numeric_limits<std::int32_t>::min()},
    {"missing section", "[Other]\nSaveDir=@SAVE@\nGameDir=@GAME@\n", false, 1},
    {"empty file", "", false, 1},
};

// The fixture's text with the folders in place of "@SAVE@" and "@GAME@".
inline std::string fixtureText(std::string_view text, const std::string& saveDir,
                               const std::string& gameDir) {
    std::string out(text);
    auto fill = [&out](std::string_view mark, const std::string& folder) {
        for (auto at = out.find(mark); at != std::string::npos; at = out.find(mark, at)) {
            out.replace(at, mark.size(), folder);
            at += folder.size();
        }
    };
    fill("@SAVE@", saveDir);
    fill("@GAME@", gameDir);
    return out;
}

}  // namespace corvan::test
