// corvan-explore: plays every route of a game headless and reports its endings, the routes that
// get stuck, the loops without a way out and what no route reaches.

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "corvan_version.h"
#include "engine/file_write.h"
#include "authoring/route_explorer.h"

using namespace corvan;

namespace {

constexpr const char* kUsage =
    R"(usage: corvan-explore [--json] [--dot FILE] [--hotel] [--hotel-visits N]
                      [--max-choices N] [--max-states N] [--max-clicks N]
                      [--max-seconds S] GAMEDIR

Plays the game in GAMEDIR (the folder holding mg_data.stf) headless from main, clicking
through every page and trying every row of every choice menu, and reports:
  endings    each game clear (*gameclr) and end of the story, with the shortest choices
  stuck      routes that stop with nothing to click, chain or call to a missing chunk,
             or loop without showing anything
  loops      pages or choices that go round for ever with no way out
  unreached  chunks and labels no route reaches
Routes that reach the same state (chunk, position, variables) are explored once.

  --json            print the report as one JSON object
  --dot FILE        write the route graph for Graphviz (dot -Tsvg FILE)
  --hotel           also try the hotel menu's 移動 and 徴収 and every place of the floor map
  --hotel-visits N  hotel menus one route may go through with --hotel (default 2)
  --max-choices N   choices on one route (default 64)
  --max-states N    choice points in all (default 5000)
  --max-clicks N    page clicks between two choices before a route counts as endless
                    (default 10000)
  --max-seconds S   stop after S seconds whatever is left (default 300; a safety net)

Exit status: 0, 1 when a route gets stuck or loops, 2 when the game cannot be played.
)";

int usageError(const std::string& message) {
    std::cerr << "corvan-explore: " << message << "\n\n" << kUsage;
    return 2;
}

bool readCount(const std::string& text, double& into) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || value < 0) return false;
    into = value;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Every play from the start makes a new game with megabytes of pictures; kept in the heap
    // instead of handed back to the system each time, they are not faulted in and zeroed anew.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    ExploreOptions options;
    bool json = false;
    std::string dotFile;
    std::string gameDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&](auto& into) {
            double value = 0;
            if (i + 1 >= argc || !readCount(argv[++i], value)) return false;
            into = static_cast<std::remove_reference_t<decltype(into)>>(value);
            return true;
        };
        if (answerHelpOrVersion(arg, "corvan-explore", kUsage)) {
            return 0;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--hotel") {
            options.hotel = true;
        } else if (arg == "--dot") {
            if (i + 1 >= argc) return usageError("--dot needs a file");
            dotFile = argv[++i];
        } else if (arg == "--hotel-visits") {
            if (!number(options.hotelVisits)) return usageError(arg + " needs a number");
        } else if (arg == "--max-choices") {
            if (!number(options.maxChoices)) return usageError(arg + " needs a number");
        } else if (arg == "--max-states") {
            if (!number(options.maxStates)) return usageError(arg + " needs a number");
        } else if (arg == "--max-clicks") {
            if (!number(options.maxClicks)) return usageError(arg + " needs a number");
        } else if (arg == "--max-seconds") {
            if (!number(options.maxSeconds)) return usageError(arg + " needs a number");
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (gameDir.empty()) {
            gameDir = arg;
        } else {
            return usageError("only one GAMEDIR may be given");
        }
    }
    if (gameDir.empty()) return usageError("no GAMEDIR given");

    // The progress line is for a person at a terminal, never for a log or a pipe.
    const bool terminal = isatty(STDERR_FILENO) != 0;
    auto progress = [terminal](int explored, int waiting) {
        if (terminal) {
            std::cerr << "\rcorvan-explore: " << explored << " choice points explored, " << waiting
                      << " waiting   " << std::flush;
        }
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
    if (!report.complete) {
        std::cerr << "corvan-explore: the exploration was cut short by " << report.limitHit
                  << "; routes past it are not reported\n";
    }
    return report.stuck.empty() && report.loops.empty() ? 0 : 1;
}
