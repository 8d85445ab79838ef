#pragma once

// The route explorer behind corvan-explore: plays a game headless from `main`, clicking through
// every page and branching at every choice menu row (and, when asked, at the hotel menu's and
// the floor map's places), and reports where the routes end: the endings, the routes that get
// stuck, the loops no choice leads out of, and the chunks and labels no route reaches.
//
// A route is the list of choices made from the start. To branch, the explorer plays the game
// again from the start with the route's choices: the game is deterministic on the headless
// player's virtual clock, so a replay reaches exactly the same state, and the game itself needs
// no way to be copied. Two routes that reach the same state (the same chunk, position, run
// state and variables) merge: the state is explored once. Limits are counts, so the result
// never depends on the machine's speed; a time limit only stops a run that has gone wrong.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace corvan {

struct ExploreOptions {
    bool hotel = false;       // branch at the hotel menu and the floor map too
    int hotelVisits = 2;      // hotel menus a route may go through when `hotel` is set
    int maxChoices = 64;      // choices on one route
    int maxStates = 5000;     // choice points explored in all
    int maxClicks = 10000;    // clicks between two choices before the route counts as endless
    double maxSeconds = 300;  // a safety net only: results come from the counts above
};

// One choice of a route.
struct RouteStep {
    std::string chunk;  // UTF-8 chunk name
    int line = 0;       // the line of the select (or move) command
    int option = 0;     // the row picked (1-based), the hotel menu's item, the map's cell
    std::string text;   // what the player picked, UTF-8
};

struct RouteEnd {
    std::string kind;    // "game-clear", "story-end", "hotel"; "chunk-missing", "script-stop",
                         // "script-loop", "endless"; "loop"
    std::string where;   // "CHUNK:LINE"
    std::string detail;  // the game's event line, or what the loop goes through
    std::vector<RouteStep> path;
};

struct Unreached {
    std::string chunk;
    std::string label;  // empty for the whole chunk
    int line = 0;
};

struct ExploreReport {
    std::vector<RouteEnd> endings;
    std::vector<RouteEnd> stuck;
    std::vector<RouteEnd> loops;
    std::vector<Unreached> unreached;
    int states = 0;        // choice points explored
    int replays = 0;       // plays from the start
    bool complete = true;  // false when a limit cut the exploration short
    std::string limitHit;  // which limit, when not complete
    std::string dot;       // the route graph in Graphviz form
};

// Explores the game in `gameDir` (the folder holding mg_data.stf). `progress` is called after
// each choice point with the states explored and still waiting. False, with `error` set, when
// the game cannot be played at all.
bool exploreRoutes(const std::filesystem::path& gameDir, const ExploreOptions& options,
                   ExploreReport& report, std::string& error,
                   const std::function<void(int explored, int waiting)>& progress = {});

// The report as text for a person, and as one JSON object.
std::string formatExploreReport(const ExploreReport& report);
std::string exploreReportJson(const ExploreReport& report);

}  // namespace corvan
