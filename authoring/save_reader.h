#pragma once

// The save reader behind `stftool saves`: what a game's save folder holds, read with the
// game's own byte layouts (ui/saves.h): every save slot's set flags and the values that are not
// 0, and the seen record's pictures and E values; and what differs between two save files.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

struct SaveContents {
    std::vector<int> flags;     // the flags that are set
    std::map<int, int> values;  // V values that are not 0
    std::map<int, int> system;  // S values that are not 0
    std::string note;           // what is wrong with the file, when anything is
};

struct SeenContents {
    std::vector<int> a, b;  // pictures seen: the marks of GRA/A and GRA/B
    std::map<int, int> e;   // E values that are not 0
    std::string note;
};

struct SaveFolder {
    std::map<int, SaveContents> slots;  // by slot, only the slots that have a file
    std::optional<SeenContents> seen;
};

// False, with `error` set, when `folder` is no folder that can be read.
bool readSaveFolder(const std::filesystem::path& folder, SaveFolder& out, std::string& error);

std::string saveFolderText(const SaveFolder& folder);
// {"slots": {"1": {"flags": [3, 200], "V": {"1": 42}, "S": {}}}, "seen": {"A": [12], "B": [4],
// "E": {"5": 3}}}
std::string saveFolderJson(const SaveFolder& folder);

// What differs between two save files, or two seen records, one line each ("V001: 42 -> 43");
// empty when nothing does. False, with `error` set, when a file cannot be read or the two are
// not of one kind.
bool diffSaveFiles(const std::filesystem::path& a, const std::filesystem::path& b, std::string& out,
                   std::string& error);

}  // namespace corvan
