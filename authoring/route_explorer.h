#pragma once

// The route explorer behind corvan-explore: plays a game headless from `main`, clicking through
// every page and trying every option of every choice menu, of the hotel menu and of the floor
// map, and reports where the routes end: the endings, the routes cut off by a limit, the routes
// that get stuck, the loops no choice leads out of, the dead ends from which no ending can be
// reached, the problems met on the way, and the chunks and labels no route reaches.
//
// At each choice point the game's state is kept (game/snapshot.h) and put back for each option,
// so a branch costs only the play from that point on. Two routes that reach the same point with
// the same values of the variables the rest of the script can still read
// (authoring/script_flow.h) merge: the point is explored once. That also bounds the walks around
// the hotel: a round that changes nothing the story reads again leads back to a known state.
// The explorer walks towards the endings not found yet first. Limits are counts, so the result
// never depends on the machine's speed; a time limit only stops a run that has gone wrong, and
// whatever a limit cuts off is reported as such.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace corvan {

struct ExploreOptions {
    int maxChoices = 10000;    // choices on one route
    int maxStates = 200000;    // choice points explored in all
    int maxClicks = 10000;     // clicks between two choices before the route is cut off
    double maxSeconds = 1800;  // a safety net only: results come from the counts above
};

// One choice of a route.
struct RouteStep {
    std::string chunk;  // UTF-8 chunk name
    int line = 0;       // the line of the select (or move) command
    int option = 0;     // the row picked (1-based), the hotel menu's item, the map's cell
    std::string text;   // what the player picked, UTF-8
};

struct RouteEnd {
    std::string kind;    // endings: "game-clear", "story-end"; cutoffs: "cutoff"; stuck:
                         // "chunk-missing", "script-stop", "script-loop", "endless", "closed";
                         // loops: "loop"; dead ends: "dead-end"; problems: "label-missing",
                         // "chunk-missing", "script-loop"
    std::string where;   // "CHUNK:LINE"
    std::string detail;  // the game's event line, the limit, or what the loop goes through
    std::vector<RouteStep> path;
};

struct Unreached {
    std::string chunk;
    std::string label;  // empty for the whole chunk
    int line = 0;
};

struct ExploreReport {
    std::vector<RouteEnd> endings;
    std::vector<RouteEnd> cutoffs;
    std::vector<RouteEnd> stuck;
    std::vector<RouteEnd> loops;
    std::vector<RouteEnd> deadEnds;
    std::vector<RouteEnd> problems;
    std::vector<Unreached> unreached;
    int states = 0;        // choice points explored
    int branches = 0;      // options tried
    double seconds = 0;    // how long it took
    bool complete = true;  // false when a limit cut anything off
    std::string limitHit;  // the first limit that did, when not complete
    std::string dot;       // the route graph in Graphviz form
};

struct ExploreProgress {
    int explored = 0;  // choice points whose options were all tried
    int waiting = 0;
    int endings = 0;
    double seconds = 0;
};

// Explores the game in `gameDir` (the folder holding mg_data.stf). `progress` is called after
// each choice point. False, with `error` set, when the game cannot be played at all.
bool exploreRoutes(const std::filesystem::path& gameDir, const ExploreOptions& options,
                   ExploreReport& report, std::string& error,
                   const std::function<void(const ExploreProgress&)>& progress = {});

// The report as text for a person, and as one JSON object.
std::string formatExploreReport(const ExploreReport& report);
std::string exploreReportJson(const ExploreReport& report);

}  // namespace corvan
