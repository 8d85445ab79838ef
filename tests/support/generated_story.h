#pragma once

// Stories made in code for the route explorer's tests and benchmarks: as many chunks as asked,
// each of 20 to 50 lines with one to three choice menus, flags set by a choice and tested in
// the next chunk, a counter read at each chunk's end, and now and then a row that leads to an
// ending of its own; and a story of N two-way choices that each set a flag, of which only the
// first is ever tested.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace corvan::test {

struct GeneratedStory {
    // Chunk name and its script as UTF-8 text, `main` first.
    std::vector<std::pair<std::string, std::string>> scripts;
    // Every ending as the explorer names it: "game-clear at CHUNK:LINE" or "story-end at ...".
    std::set<std::string> endings;
    int choiceMenus = 0;
};

// `chunks` in all, the endings' own chunks included.
GeneratedStory generateStory(int chunks, std::uint32_t seed = 1);
GeneratedStory generateFlagStory(int choices);

// Packs the story into FOLDER/mg_data.stf; false with `error` set when it cannot.
bool writeStoryGame(const GeneratedStory& story, const std::filesystem::path& folder,
                    std::string& error);

}  // namespace corvan::test
