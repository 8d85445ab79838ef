// How long the transition effects take to draw one frame, and how long the message frame's
// see-through backdrop takes to build. A frame is shown at most 60 times a second, so drawing
// one must stay far below 16 ms; the budget is 1 ms, leaving the rest to the host's repaint.
// The host here shows nothing, so only the game's own drawing is measured.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "authoring/stf_pack.h"
#include "headless/headless_host.h"
#include "headless/replay.h"
#include "render/layers.h"
#include "render/resources.h"
#include "render/transition_effects.h"
#include "settings/setting_names.h"

namespace {

using namespace corvan;

// Notes how long the longest frame took to draw, from the frames the host is shown. It counts
// this thread's processor time, so that other programs on the machine do not lengthen frames.
class FrameTimer {
public:
    void start() {
        last_ = now();
        worst_ = 0;
    }
    void lap() {
        const double t = now();
        worst_ = std::max(worst_, t - last_);
        last_ = t;
    }
    double worstSeconds() const { return worst_; }

private:
    static double now() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
    }
    double last_ = 0;
    double worst_ = 0;
};

Bitmap gradient(int seed) {
    Bitmap b(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        std::uint8_t* p = b.row(y);
        for (int x = 0; x < kScreenWidth; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x / 3 + seed);
            p[1] = static_cast<std::uint8_t>(y / 2 + 3 * seed);
            p[2] = static_cast<std::uint8_t>((x + y) / 5 + 7 * seed);
        }
    }
    return b;
}

// The frames each effect shows at speed factor 1 and 2.
constexpr std::array<std::array<int, 2>, 15> kFrames = {{{1, 1},
                                                         {8, 8},
                                                         {8, 8},
                                                         {60, 60},
                                                         {25, 25},
                                                         {38, 20},
                                                         {17, 9},
                                                         {48, 24},
                                                         {64, 32},
                                                         {40, 40},
                                                         {50, 50},
                                                         {76, 76},
                                                         {97, 49},
                                                         {24, 24},
                                                         {40, 40}}};

// One whole effect per iteration; the counters give the mean and the longest frame.
void BM_TransitionEffect(benchmark::State& state) {
    const int effect = static_cast<int>(state.range(0));
    const int factor = static_cast<int>(state.range(1));
    const Bitmap from = gradient(0);
    const Bitmap to = gradient(90);
    const Bitmap diza = loadResource("DIZA");
    Bitmap screen = from;
    Random random;
    // The headless host shows nothing: ending a frame only counts it.
    HeadlessHost host;
    FrameTimer timer;
    host.onFrame([&timer](const Bitmap&) { timer.lap(); });
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen = from;
        timer.start();
        state.ResumeTiming();
        TransitionContext context{screen, to, diza, factor, random, host};
        runTransitionEffect(effect, context);
        benchmark::DoNotOptimize(screen.row(0));
        // The cut ends no frame; its one picture is the whole effect.
        if (effect == 0) timer.lap();
        worst += timer.worstSeconds();
    }
    const int frames = kFrames[static_cast<std::size_t>(effect)][factor - 1];
    state.counters["frames"] = frames;
    state.counters["per_frame"] = benchmark::Counter(
        frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["worst_frame"] = benchmark::Counter(worst, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TransitionEffect)
    ->ArgNames({"effect", "factor"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 14, 1), {1}})
    ->Args({5, 2})
    ->Args({6, 2})
    ->Args({7, 2})
    ->Args({8, 2})
    ->Args({12, 2})
    ->Unit(benchmark::kMicrosecond);

// A game folder with a one-line script, removed again at the end.
class TinyGame {
public:
    TinyGame() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvan-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    }
    ~TinyGame() {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }
    TinyGame(const TinyGame&) = delete;
    TinyGame& operator=(const TinyGame&) = delete;

    bool start(HeadlessPlayer& player) {
        if (folder_.empty()) return false;
        std::string error;
        const auto lines = scriptLinesFromText("*end\n", false, error);
        if (!lines) return false;
        const auto archive = buildArchive({{"main", *lines}}, error);
        if (!archive) return false;
        std::ofstream out(folder_ / "mg_data.stf", std::ios::binary);
        out.write(reinterpret_cast<const char*>(archive->data()),
                  static_cast<std::streamsize>(archive->size()));
        if (!out.flush()) return false;
        player.host().setSettingFallback(setting::kSaveDir, folder_.string());
        player.host().setSettingFallback(setting::kGameDir, folder_.string());
        player.start();
        return !player.closed();
    }

private:
    std::filesystem::path folder_;
};

// The see-through backdrop under the message frame, rebuilt before every transition and every
// page.
void BM_BuildFrameBackdrop(benchmark::State& state) {
    TinyGame folder;
    HeadlessPlayer player;
    if (!folder.start(player)) {
        state.SkipWithError("the game did not start");
        return;
    }
    Game& game = player.game();
    if (game.movableFrame) {
        state.SkipWithError("the frame is not in the fixed mode");
        return;
    }
    game.layers.background = gradient(40);
    game.Compose();
    for (auto _ : state) {
        game.BuildFrameBackdrop();
        benchmark::DoNotOptimize(game.layers.textFrame.row(0));
    }
    // The picture area that the backdrop reads and rewrites: 564x84 pixels.
    state.SetBytesProcessed(state.iterations() * 564 * 84 * 3);
}
BENCHMARK(BM_BuildFrameBackdrop)->Unit(benchmark::kMicrosecond);

}  // namespace
