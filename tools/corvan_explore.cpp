// corvan-explore: plays every route of a game headless and reports its endings, the routes cut
// off by a limit, the routes that get stuck, the loops and dead ends, the problems met on the
// way and what no route reaches.

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "authoring/route_explorer.h"
#include "corvan_version.h"
#include "engine/file_write.h"

using namespace corvan;

namespace {

constexpr const char* kUsage =
    R"(usage: corvan-explore [--json] [--dot FILE] [--max-choices N] [--max-states N]
                      [--max-clicks N] [--max-seconds S] GAMEDIR

Plays the game in GAMEDIR (the folder holding mg_data.stf) headless from main, clicking
through every page and trying every row of every choice menu, 移動 and 徴収 on the hotel
menu and every place of the floor map, and reports:
  endings    each game clear (*gameclr) and end of the story, with the fewest choices
  cutoffs    routes a limit stopped, with the limit
  stuck      routes that stop with nothing to click, chain to a missing chunk, or loop
             without showing anything
  loops      pages or choices that go round for ever with no way out
  dead ends  choice points from which no ending can be reached
  problems   every label-missing, chunk-missing and script-loop met, at chunk:line
  unreached  chunks and labels no route reaches
Routes that reach the same point with the same values of what the script can still read
there are explored once.

  --json            print the report as one JSON object (and nothing on standard error)
  --dot FILE        write the route graph for Graphviz (dot -Tsvg FILE)
  --max-choices N   choices on one route (default 10000)
  --max-states N    choice points in all (default 200000)
  --max-clicks N    page clicks between two choices before a route is cut off (default 10000)
  --max-seconds S   stop after S seconds whatever is left (default 1800; a safety net)

Exit status: 0 when every route was explored and none is at fault; 1 when a route gets
stuck, loops, reaches a dead end or meets a problem; 3 when a limit cut anything off (and
nothing is at fault); 2 when the game cannot be played or the command line is wrong.
)";

int usageError(const std::string& message) {
    std::cerr << "corvan-explore: " << message << "\n\n" << kUsage;
    return 2;
}

// A count or a number of seconds: finite, not negative and, for a count, within an int.
bool readNumber(const std::string& text, double& into, bool count) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value < 0) return false;
    if (count && (value > INT_MAX || value != std::floor(value))) return false;
    into = value;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ExploreOptions options;
    bool json = false;
    std::string dotFile;
    std::string gameDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // The option's value, or the message that says what it must be.
        auto given = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        auto count = [&](int& into) -> int {
            const std::string text = given();
            double value = 0;
            if (readNumber(text, value, true)) {
                into = static_cast<int>(value);
                return -1;
            }
            return usageError(arg + " needs a whole number from 0 to 2147483647, not " + text);
        };
        if (answerHelpOrVersion(arg, "corvan-explore", kUsage)) {
            return 0;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--hotel") {
            // The hotel is always explored now; the option is kept for older scripts.
        } else if (arg == "--dot") {
            if (i + 1 >= argc) return usageError("--dot needs a file");
            dotFile = argv[++i];
        } else if (arg == "--max-choices" || arg == "--max-states" || arg == "--max-clicks") {
            int& into = arg == "--max-choices"  ? options.maxChoices
                        : arg == "--max-states" ? options.maxStates
                                                : options.maxClicks;
            if (const int status = count(into); status >= 0) return status;
        } else if (arg == "--max-seconds") {
            const std::string text = given();
            if (!readNumber(text, options.maxSeconds, false)) {
                return usageError(arg + " needs a finite number of seconds, not " + text);
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (gameDir.empty()) {
            gameDir = arg;
        } else {
            return usageError("only one GAMEDIR may be given");
        }
    }
    if (gameDir.empty()) return usageError("no GAMEDIR given");

    // The progress line is for a person at a terminal, never for a log, a pipe or --json.
    const bool terminal = !json && isatty(STDERR_FILENO) != 0;
    auto progress = [terminal](const ExploreProgress& p) {
        if (!terminal) return;
        char line[160];
        std::snprintf(line, sizeof line,
                      "\rcorvan-explore: %.0f s, %d choice points explored, %d waiting, %d "
                      "endings found   ",
                      p.seconds, p.explored, p.waiting, p.endings);
        std::cerr << line << std::flush;
    };
    ExploreReport report;
    std::string error;
    const bool explored = exploreRoutes(gameDir, options, report, error, progress);
    if (terminal) std::cerr << "\r\033[K" << std::flush;
    if (!explored) {
        std::cerr << "corvan-explore: " << error << "\n";
        return 2;
    }
    if (!dotFile.empty() && !writeFileAtomically(dotFile, report.dot, error)) {
        std::cerr << "corvan-explore: " << error << "\n";
        return 2;
    }
    std::cout << (json ? exploreReportJson(report) : formatExploreReport(report));
    if (!report.complete && !json) {
        std::cerr << "corvan-explore: the exploration was cut short by " << report.limitHit
                  << "; the routes past it (cutoffs) are not explored\n";
    }
    const bool faults = !report.stuck.empty() || !report.loops.empty() ||
                        !report.deadEnds.empty() || !report.problems.empty();
    return faults ? 1 : report.complete ? 0 : 3;
}
