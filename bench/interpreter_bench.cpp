// How fast the interpreter walks script text and evaluates expressions. The game needs one step
// per 20 ms idle call; these figures show how far below that budget a step stays.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/expressions.h"
#include "headless/replay.h"

namespace {

using namespace corvan;

void BM_EvaluateExpression(benchmark::State& state) {
    Variables vars;
    vars.setV(5, 12);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EvaluateExpression(vars, "V005+17*3-S001/2+E002"));
    }
}
BENCHMARK(BM_EvaluateExpression);

void BM_FindLabelInFullChunk(benchmark::State& state) {
    HeadlessPlayer player;
    Game& game = player.game();
    // A full chunk of text lines with the label at its very end: the worst case of a search.
    std::string text;
    while (text.size() < 32000) text += std::string(60, 'a') + '\0';
    text += ":target";
    text.push_back('\0');
    std::copy(text.begin(), text.end(), game.scriptBuffer.begin());
    game.scriptLength = static_cast<std::int32_t>(text.size());
    for (auto _ : state) benchmark::DoNotOptimize(game.FindLabel("target"));
}
BENCHMARK(BM_FindLabelInFullChunk);

// A counting loop of five lines a turn that shows nothing until it ends: the lines a step runs in
// a second, and so how long the line budget for a loop that never repeats keeps the window busy.
void BM_CountingLoopLines(benchmark::State& state) {
    HeadlessPlayer player;
    Game& game = player.game();
    const std::string text =
        ":loop\n*calc V001=V001+1\n*calc F010=V001/200000\n*if_on 10 done\n*go loop\n:done\n";
    std::string chunk = text;
    for (char& c : chunk) {
        if (c == '\n') c = '\0';
    }
    std::copy(chunk.begin(), chunk.end(), game.scriptBuffer.begin());
    for (auto _ : state) {
        // A click between runs, or the game would rightly find the runs repeating each other.
        game.Image1MouseDown(MouseButton::Left, 0, 0);
        game.Image1MouseUp(MouseButton::Left, 0, 0);
        game.vars.setV(1, 0);
        game.vars.ClearFlag(10);
        game.scriptLength = static_cast<std::int32_t>(chunk.size());
        game.scriptPos = 0;
        game.scriptRunning = true;
        game.fetchLine = true;
        game.RunScript();
    }
    state.counters["lines_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 1'000'000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoopLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
