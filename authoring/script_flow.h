#pragma once

// The script as a graph of lines, for the route explorer: where each line can lead, which
// variables it reads and which it overwrites, worked out from the script's text alone.
//
// From that graph come two things the explorer steers by:
//   - what the rest of the script can still read at each line (a backward liveness pass). Two
//     routes that differ only in a flag that is never tested again lead to the same story, so
//     the explorer compares states on these variables only;
//   - how many lines each line is from the nearest ending not found yet, so that the explorer
//     walks towards endings first and a run cut by a limit has still found them.
//
// The graph is the explorer's: a route ends at `gameclr`, so nothing after it counts. A call
// leads both into the called chunk and on to the line after it, but a called chunk's `end`
// (and a message section's closing label) leads nowhere: where it returns to is known only in
// the running game, which adds what is live at its return point (Playthrough::stateKey). Beyond
// that the graph errs on the side of more edges: a jump whose target the text does not fix (a
// label the chunk lacks falls through, a command the alternate text mode skips) gets every edge
// it may take. A variable is thus never taken for unread while some path can read it.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/stf_pack.h"
#include "engine/archive.h"

namespace corvan::explore {

// The variables a line can read: flags F, values V and system values S. The persistent E values
// are always compared: the game itself reads them (the scene replay).
struct VariableSet {
    std::bitset<1024> flags;
    std::bitset<1000> values;
    std::bitset<1000> system;

    VariableSet& operator|=(const VariableSet& other) {
        flags |= other.flags;
        values |= other.values;
        system |= other.system;
        return *this;
    }
    bool operator==(const VariableSet&) const = default;
};

class ScriptFlow {
public:
    // `chunks`: the game's chunks in archive order, names and lines in code page 932.
    explicit ScriptFlow(const std::vector<ChunkSource>& chunks);

    // The chunk called `name` (code page 932, found as the game finds it), or -1.
    int chunkIndex(std::string_view name) const;
    // The 0-based line starting at byte `offset` of chunk `chunk`, or the one `offset` lies in.
    int lineAt(int chunk, std::int32_t offset) const;

    // What some path from the start of line `line` of chunk `chunk` may read before it
    // overwrites it. Past the chunk's last line: nothing.
    const VariableSet& liveAt(int chunk, int line) const;

    // Lines ending the game: `gameclr`, and the last line of a chunk that runs off its end.
    bool isEnding(int chunk, int line) const;
    // Takes an ending found by the explorer out of the targets of `distanceToEnding`.
    void endingFound(int chunk, int line);
    // Lines from (chunk, line) to the nearest ending not yet found; a large number when none
    // is reachable.
    int distanceToEnding(int chunk, int line) const;

    static constexpr int kFar = 1 << 30;

private:
    struct Node {
        std::vector<int> next;  // node ids
        VariableSet reads;
        // The one variable the line overwrites for certain: 'F', 'V' or 'S' and its number;
        // 'A' for all of them (gameinit).
        char kills = 0;
        int killed = 0;
        bool ending = false;
    };
    int id(int chunk, int line) const { return firstNode_[chunk] + line; }
    void build(const std::vector<ChunkSource>& chunks);
    void solveLiveness();
    void solveDistances();

    Archive archive_;  // for finding chunks by name as the game does
    std::vector<int> firstNode_;
    std::vector<std::vector<std::int32_t>> lineOffsets_;
    std::vector<Node> nodes_;               // one per line, and one past each chunk's last line
    std::vector<std::vector<int>> before_;  // the lines that lead to each line
    std::vector<VariableSet> live_;
    std::vector<int> distance_;
    std::vector<bool> found_;
};

}  // namespace corvan::explore
