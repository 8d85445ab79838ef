// The route explorer at full size: the demo with its hotel, generated stories of 300 and 1 499
// chunks (20-50 lines and 1-3 choice menus a chunk), and 20 two-way choices that each set a
// flag of which only the first is read. Each is walked once to the end; the counters say how
// many choice points and options that took and whether the walk was complete.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "authoring/route_explorer.h"
#include "tests/support/generated_story.h"

namespace {

namespace fs = std::filesystem;

void explore(benchmark::State& state, const fs::path& game) {
    corvan::ExploreReport report;
    std::string error;
    for (auto _ : state) {
        if (!corvan::exploreRoutes(game, {}, report, error)) state.SkipWithError(error.c_str());
    }
    state.counters["states"] = report.states;
    state.counters["branches"] = report.branches;
    state.counters["endings"] = static_cast<double>(report.endings.size());
    state.counters["complete"] = report.complete ? 1 : 0;
}

void exploreGenerated(benchmark::State& state, const corvan::test::GeneratedStory& story) {
    std::string folder = (fs::temp_directory_path() / "corvan-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string error;
    if (corvan::test::writeStoryGame(story, folder, error)) {
        explore(state, folder);
    } else {
        state.SkipWithError(error.c_str());
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
}

void BM_ExploreDemo(benchmark::State& state) {
    explore(state, CORVAN_DEMO_DIR);
}

void BM_ExploreStory(benchmark::State& state) {
    exploreGenerated(state, corvan::test::generateStory(static_cast<int>(state.range(0))));
}

void BM_ExploreFlags(benchmark::State& state) {
    exploreGenerated(state, corvan::test::generateFlagStory(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_ExploreFlags)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ExploreStory)->Arg(300)->Arg(1499)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ExploreDemo)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
