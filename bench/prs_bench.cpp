// How fast a picture file decodes. Every picture the story shows is a PRS file decoded while the
// player waits for the scene to change, so the decoder should keep well ahead of a general
// purpose decompressor: zlib's inflate of the same BMP bytes is measured beside it.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

#include "render/bitmap.h"
#include "render/bmp.h"
#include "render/prs.h"

namespace {

using namespace corvan;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

void setPixel(Bitmap& b, int x, int y, int red, int green, int blue) {
    std::uint8_t* p = b.row(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(std::clamp(blue, 0, 255));
    p[1] = static_cast<std::uint8_t>(std::clamp(green, 0, 255));
    p[2] = static_cast<std::uint8_t>(std::clamp(red, 0, 255));
}

// A typical scene: a sky gradient, a floor, a few flat shapes and a shaded disc, much as the
// game's drawn backgrounds are made of large smooth areas.
Bitmap smoothPicture() {
    Bitmap b(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int red = 40 + y / 4, green = 60 + y / 3, blue = 200 - y / 5;
            if (y > 320) {  // floor boards
                red = 120 + (x / 80 % 2) * 20;
                green = 80 + (x / 80 % 2) * 10;
                blue = 40;
            }
            if (x > 80 && x < 220 && y > 120 && y < 330) {  // a wall panel
                red = 180;
                green = 170;
                blue = 150 - (y - 120) / 8;
            }
            const int dx = x - 440, dy = y - 200;
            if (dx * dx + dy * dy < 90 * 90) {  // a shaded lamp
                const int shade = (dx * dx + dy * dy) / 64;
                red = 250 - shade;
                green = 230 - shade;
                blue = 160 - shade / 2;
            }
            setPixel(b, x, y, red, green, blue);
        }
    }
    return b;
}

// A photograph-like picture: a gradient under strong grain, where long matches are rare.
Bitmap noisyPicture() {
    Bitmap b(kWidth, kHeight);
    std::uint32_t state = 12345;
    auto noise = [&] {
        state = state * 1103515245u + 12345u;
        return static_cast<int>(state >> 16 & 63) - 32;
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            setPixel(b, x, y, x / 3 + noise(), y / 2 + noise(), 128 + noise());
        }
    }
    return b;
}

const std::vector<std::uint8_t>& bmpOf(int which) {
    static const std::vector<std::uint8_t> smooth = writeBmp(smoothPicture());
    static const std::vector<std::uint8_t> noisy = writeBmp(noisyPicture());
    return which == 0 ? smooth : noisy;
}

const char* nameOf(int which) {
    return which == 0 ? "smooth" : "noisy";
}

// The picture packed by zlib at its default level; empty if zlib failed.
std::vector<std::uint8_t> zlibPacked(const std::vector<std::uint8_t>& bmp) {
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(bmp.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    if (compress2(packed.data(), &packedSize, bmp.data(), static_cast<uLong>(bmp.size()), 6) !=
        Z_OK) {
        return {};
    }
    packed.resize(packedSize);
    return packed;
}

// Inflates `packed` into `out`, which has the picture's size; false unless it fills it exactly.
bool zlibInflate(const std::vector<std::uint8_t>& packed, std::vector<std::uint8_t>& out) {
    uLongf outSize = static_cast<uLongf>(out.size());
    return uncompress(out.data(), &outSize, packed.data(), static_cast<uLong>(packed.size())) ==
               Z_OK &&
           outSize == out.size();
}

// This thread's processor time, so that other programs on the machine count for neither side.
double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// One decoder for every iteration, as the game keeps one. Each iteration also inflates the
// same picture with zlib, outside the measured time, so that `vs_zlib` (how many times faster
// than zlib the decoder is) compares the two under the same conditions.
void BM_PrsDecode(benchmark::State& state) {
    const std::vector<std::uint8_t>& bmp = bmpOf(static_cast<int>(state.range(0)));
    const std::vector<std::uint8_t> prs = encodePrsBytes(bmp);
    const std::vector<std::uint8_t> packed = zlibPacked(bmp);
    std::vector<std::uint8_t> inflated(bmp.size());
    PrsDecoder decoder;
    std::string error;
    double prsSeconds = 0;
    double zlibSeconds = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        const auto decoded = decoder.decode(prs, error);
        const double decodedAt = threadSeconds();
        if (!decoded || decoded->size() != bmp.size()) {
            state.SkipWithError("the picture did not decode");
            break;
        }
        benchmark::DoNotOptimize(decoded->data());
        state.PauseTiming();
        const double inflateStart = threadSeconds();
        if (!zlibInflate(packed, inflated)) {
            state.SkipWithError("zlib did not inflate the picture");
            break;
        }
        benchmark::DoNotOptimize(inflated.data());
        zlibSeconds += threadSeconds() - inflateStart;
        prsSeconds += decodedAt - start;
        state.ResumeTiming();
    }
    state.SetLabel(nameOf(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bmp.size()));
    state.counters["packed"] = static_cast<double>(prs.size()) / static_cast<double>(bmp.size());
    if (prsSeconds > 0) state.counters["vs_zlib"] = zlibSeconds / prsSeconds;
}
BENCHMARK(BM_PrsDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// zlib at its default level alone, inflating into a buffer of the picture's size.
void BM_ZlibInflate(benchmark::State& state) {
    const std::vector<std::uint8_t>& bmp = bmpOf(static_cast<int>(state.range(0)));
    const std::vector<std::uint8_t> packed = zlibPacked(bmp);
    std::vector<std::uint8_t> out(bmp.size());
    for (auto _ : state) {
        if (!zlibInflate(packed, out)) {
            state.SkipWithError("zlib did not inflate the picture");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(nameOf(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bmp.size()));
    state.counters["packed"] = static_cast<double>(packed.size()) / static_cast<double>(bmp.size());
}
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
