// make_transition_strips: draws what each of the fifteen transition effects looks like, for the
// authoring guide (docs/authoring.md). Every effect runs from one demo picture to another, as
// the game runs it at the normal speed; six moments of it (its start, four between and its end)
// are shrunk side by side into one row, effect 0 at the top.
//
//   make_transition_strips FROM.png TO.png OUT.png

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "authoring/png_read.h"
#include "corvan_version.h"
#include "headless/headless_host.h"
#include "headless/png_writer.h"
#include "render/layers.h"
#include "render/raster.h"
#include "render/resources.h"
#include "render/transition_effects.h"

using namespace corvan;

namespace {

constexpr int kEffects = 15;
constexpr int kMoments = 6;
constexpr int kThumbWidth = kScreenWidth / 5;
constexpr int kThumbHeight = kScreenHeight / 5;
constexpr int kGap = 4;

std::optional<Bitmap> readPicture(const std::string& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in && !in.eof()) {
        error = "cannot read " + file;
        return std::nullopt;
    }
    auto picture = readPng(bytes, error);
    if (picture && (picture->width() != kScreenWidth || picture->height() != kScreenHeight)) {
        error = file + " is not 640x480";
        return std::nullopt;
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    const char* usage = "usage: make_transition_strips FROM.png TO.png OUT.png\n";
    if (argc == 2 && answerHelpOrVersion(argv[1], "make_transition_strips", usage)) return 0;
    if (argc != 4) {
        std::cerr << usage;
        return 2;
    }
    std::string error;
    const auto from = readPicture(argv[1], error);
    const auto to = from ? readPicture(argv[2], error) : std::nullopt;
    if (!to) {
        std::cerr << "make_transition_strips: " << error << "\n";
        return 1;
    }
    const Bitmap diza = loadResource("DIZA");
    Bitmap sheet(kMoments * (kThumbWidth + kGap) - kGap, kEffects * (kThumbHeight + kGap) - kGap);
    fillRect(sheet, {0, 0, sheet.width(), sheet.height()}, 0xFFFFFF);
    for (int effect = 0; effect < kEffects; ++effect) {
        // Every frame the effect ends, the first being the picture before it.
        std::vector<Bitmap> frames{*from};
        HeadlessHost host;
        host.onFrame([&frames](const Bitmap& screen) { frames.push_back(screen); });
        Bitmap screen = *from;
        Random random;
        TransitionContext context{screen, *to, diza, 1, random, host};
        runTransitionEffect(effect, context);
        frames.push_back(screen);
        for (int m = 0; m < kMoments; ++m) {
            const std::size_t pick =
                (frames.size() - 1) * static_cast<std::size_t>(m) / (kMoments - 1);
            const int x = m * (kThumbWidth + kGap);
            const int y = effect * (kThumbHeight + kGap);
            stretch(sheet, {x, y, x + kThumbWidth, y + kThumbHeight}, frames[pick],
                    {0, 0, kScreenWidth, kScreenHeight});
        }
    }
    if (!writePng(sheet, argv[3], error)) {
        std::cerr << "make_transition_strips: " << error << "\n";
        return 1;
    }
    return 0;
}
