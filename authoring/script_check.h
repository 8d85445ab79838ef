#pragma once

// The script checker: reads a game's chunks the way the interpreter runs them and tells the
// author, one finding a line, what the game would do without a word: a misspelt command that is
// skipped, a jump that finds no label and falls through, a choice without its branch, a chain to
// a chunk that is not there, a picture, music or voice file that is missing, a colour tag that
// the frame's opening undoes, a mark that half-width katakana swallow, a row wider than the
// frame, labels and chunks that nothing reaches.
//
// It follows every path the story can take from the chunks the game starts by itself (main,
// SAVE, LOAD, the hotel's places, the scene replay's scenes), keeping what it knows of the text
// frame on the way, so that page warnings come only where the game really is in that state.
// Commands, tags, labels, picture arguments and file names are read with the game's own code.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "authoring/stf_pack.h"

namespace corvan {

enum class Severity { Error, Warning, Note };

struct Finding {
    std::string chunk;  // the chunk's name, UTF-8
    std::string file;   // the script file the chunk came from; empty when read from an archive
    int line = 0;       // 1-based line of the chunk and of its file; 0 for the chunk as a whole
    Severity severity = Severity::Error;
    std::string message;  // UTF-8

    bool operator==(const Finding&) const = default;
};

struct ScriptCheckInput {
    // The game's chunks in archive order: names and lines in code page 932.
    std::vector<ChunkSource> chunks;
    // The script file of each chunk, when the chunks were read from script files.
    std::vector<std::string> files;
    // The game folder whose GRA, MIDI and wave folders the scripts name files in; without one,
    // files are not looked for.
    std::optional<std::filesystem::path> gameFolder;
    // Problems found while reading the chunks (a damaged archive, text with no Shift-JIS form),
    // reported with the rest.
    std::vector<Finding> readProblems;
};

// Every finding, in chunk order and line order.
std::vector<Finding> checkScripts(const ScriptCheckInput& input);

bool hasErrors(const std::vector<Finding>& findings);

// "FILE:LINE: error: what", or "CHUNK:LINE: ..." for a chunk read from an archive; one line
// each.
std::string formatFindings(const std::vector<Finding>& findings);

// {"findings": [{"chunk", "file", "line", "severity", "message"}...], "errors": N,
// "warnings": N}
std::string findingsJson(const std::vector<Finding>& findings);

// The chunks of an archive file, with a finding for each entry that cannot be read (past the
// file's end, longer than a chunk may be) and for a directory cut short. False, with `error`
// set, when the file cannot be read at all.
bool readArchiveForCheck(const std::filesystem::path& archive, ScriptCheckInput& input,
                         std::string& error);

// The chunks of a folder of script files as `stftool pack` reads them; what would keep pack
// from packing them becomes an error finding.
bool readSourcesForCheck(const std::filesystem::path& folder, ScriptCheckInput& input,
                         std::string& error);

}  // namespace corvan
