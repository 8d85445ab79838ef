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

}  // namespace

BENCHMARK_MAIN();
