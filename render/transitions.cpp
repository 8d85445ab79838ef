// The fifteen transition effects that move the screen from what it shows to the new composite.
// Each effect draws frame after frame on the screen surface only; every frame ends through the
// host, which shows it and lets the timer and mouse run in between.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/layers.h"
#include "render/raster.h"
#include "render/transition_effects.h"

namespace corvan {

namespace {

constexpr std::array<int, 19> kSqueezeWidths = {632, 630, 622, 610, 594, 573, 547, 518, 484, 447,
                                                406, 363, 316, 267, 216, 164, 110, 50,  0};
constexpr int kW = kScreenWidth;
constexpr int kH = kScreenHeight;

void cut(TransitionContext& c) {
    draw(c.screen, 0, 0, c.composite);
    c.repaint();
    ++c.frames;  // the cut's one frame is its repaint
}

void verticalBlinds(TransitionContext& c) {
    for (int k = 0; k < 8; ++k) {
        copyColumns(c.screen, c.composite, {k, 0, kW, kH}, 8);  // columns k, k + 8, ... k + 632
        c.endFrame();
    }
}

void horizontalBlinds(TransitionContext& c) {
    for (int k = 0; k < 8; ++k) {
        for (int y = 0; y <= 472; y += 8) c.copy({0, y + k, kW, y + k + 1});
        c.endFrame();
    }
}

void columnWave(TransitionContext& c) {
    for (int f = 0; f < 60; ++f) {
        for (int k = 0; k < 16; ++k) {
            const int q = f + k - 15;
            if (q >= 0 && q < 80) c.copy({16 * q, 0, 16 * q + 16 - k, kH});
        }
        c.endFrame();
    }
}

void iris(TransitionContext& c) {
    for (int r = 5; r < 500; r += 20) {
        int d = r, x = r, y = 0;
        while (x >= y) {
            int h = std::min(x, 320);
            if (y <= 240) {
                c.copy({320 - h, 240 - y, 321 + h, 241 - y});
                c.copy({320 - h, 240 + y, 321 + h, 241 + y});
            }
            h = std::min(y, 320);
            if (x <= 240) {
                c.copy({320 - h, 240 - x, 321 + h, 241 - x});
                c.copy({320 - h, 240 + x, 321 + h, 241 + x});
            }
            d -= 2 * y - 1;
            ++y;
            if (d < 0) {
                d += 2 * (x - 1);
                --x;
            }
        }
        c.endFrame();
    }
}

void squeezeFlip(TransitionContext& c) {
    const Bitmap snapshot = c.screen;
    // The picture squeezed to `width` columns straight onto the middle of the screen, black on
    // either side.
    auto frame = [&](const Bitmap& picture, int width) {
        const int left = (kW - width) / 2;
        fillRect(c.screen, {0, 0, left, kH}, 0x000000);
        fillRect(c.screen, {left + width, 0, kW, kH}, 0x000000);
        stretch(c.screen, {left, 0, left + width, kH}, picture, {0, 0, kW, kH});
        c.endFrame();
    };
    for (int i = 0; i < 19; i += c.factor) frame(snapshot, kSqueezeWidths[i]);
    for (int i = 18; i >= 0; i -= c.factor) frame(c.composite, kSqueezeWidths[i]);
    draw(c.screen, 0, 0, c.composite);
    c.repaint();
}

// Each frame the screen keeps its pixels' bits where dither tile t has them set and takes the
// new picture's elsewhere: screen AND pattern, OR new picture AND NOT pattern.
void ditherDissolve(TransitionContext& c) {
    Bitmap tile(8, 8);
    for (int t = 0; t < 17; t += c.factor) {
        c.ditherTile(tile, t);
        blendThroughPattern(c.screen, c.composite, {0, 0, kW, kH}, tile);
        c.endFrame();
    }
}

void rowInterlace(TransitionContext& c) {
    int y = 0;
    do {
        for (int i = 0; i < 5 * c.factor; ++i) {
            c.copy({0, y, kW, y + 1});
            c.copy({0, 479 - y, kW, 480 - y});
            y += 2;
        }
        c.endFrame();
    } while (y < kH);
}

void columnInterlace(TransitionContext& c) {
    int x = 0;
    do {
        for (int i = 0; i < 5 * c.factor; ++i) {
            c.copy({x, 0, x + 1, kH});
            c.copy({639 - x, 0, 640 - x, kH});
            x += 2;
        }
        c.endFrame();
    } while (x < kW);
}

void fallingTiles(TransitionContext& c) {
    const Bitmap snapshot = c.screen;
    std::array<std::array<int, 6>, 8> counter{};
    std::array<std::array<int, 6>, 8> drop{};
    for (int q = 0; q < 8; ++q) {
        for (int r = 0; r < 6; ++r) counter[q][r] = q + r - 8;
    }
    while (counter[0][0] < 32) {
        draw(c.screen, 0, 0, c.composite);
        for (int r = 5; r >= 0; --r) {
            for (int q = 0; q < 8; ++q) {
                const int m = counter[q][r]++;
                if (m <= 0) {
                    blit(c.screen, 80 * q, 80 * r, 80, 80, snapshot, 80 * q, 80 * r);
                } else if (m < 30) {
                    drop[q][r] += m;
                    blit(c.screen, 80 * q, 80 * r + drop[q][r], 80, 80, snapshot, 80 * q, 80 * r);
                }
            }
        }
        c.endFrame();
    }
}

void squareSweep(TransitionContext& c) {
    for (int f = 0; f < 50; ++f) {
        for (int k = 0; k < 8; ++k) {
            const int h = 8 - k;
            const int q = f + k - 7;
            if (q < 0 || q >= 40) continue;
            for (int i = 0; i < 30; ++i) {
                c.copy({16 * q + 8 - h, 16 * i + 8 - h, 16 * q + 8 + h, 16 * i + 8 + h});
            }
        }
        c.endFrame();
    }
}

void diagonalSquareSweep(TransitionContext& c) {
    for (int f = 0; f < 76; ++f) {
        for (int k = 0; k < 8; ++k) {
            const int h = 8 - k;
            const int s = f + k - 7;
            for (int i = 0; i < 30; ++i) {
                const int q = s - i;
                if (q >= 0 && q < 40) {
                    c.copy({16 * q + 8 - h, 16 * i + 8 - h, 16 * q + 8 + h, 16 * i + 8 + h});
                }
            }
        }
        c.endFrame();
    }
}

void softWipe(TransitionContext& c) {
    constexpr int kBand = 136;
    Bitmap g(kBand, kH), n(kBand, kH), t(kBand, kH);
    for (int y = 0; y < kH; y += 8) draw(g, 0, y, c.diza);
    draw(n, 0, 0, g, RasterOp::CopyInverted);
    for (int x = -kBand; x < kW; x += 8 * c.factor) {
        blit(c.screen, x, 0, kBand, kH, n, 0, 0, RasterOp::And);
        blit(t, 0, 0, kBand, kH, c.composite, x, 0, RasterOp::Copy);
        draw(t, 0, 0, g, RasterOp::And);
        blit(c.screen, x, 0, kBand, kH, t, 0, 0, RasterOp::Or);
        c.endFrame();
    }
    // At the faster setting the band skips every other dither step and leaves specks of the old
    // picture behind; the new picture is put up whole, as it is at the normal speed.
    if (c.factor != 1) {
        draw(c.screen, 0, 0, c.composite);
        c.repaint();
    }
}

// One byte moved up to 12 steps towards its target. Clamping the target to within 12 of the
// byte is the same step, in byte arithmetic that saturates: four vector operations.
std::uint8_t morphStep(std::uint8_t from, std::uint8_t to) {
    const std::uint8_t low = from < 12 ? 0 : static_cast<std::uint8_t>(from - 12);
    const std::uint8_t high = from > 243 ? 255 : static_cast<std::uint8_t>(from + 12);
    return std::min(std::max(to, low), high);
}

// Steps every byte of `morph` towards the same byte of `target` and puts the result on the
// screen row `shown` as well; true once the row has reached its target. Done 16 bytes at a
// time through arrays of its own, which the compiler turns into vector operations.
bool morphRow(std::uint8_t* morph, const std::uint8_t* target, std::uint8_t* shown,
              std::size_t bytes) {
    constexpr std::size_t kBlock = 16;
    std::array<std::uint8_t, kBlock> differs{};
    std::size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        std::array<std::uint8_t, kBlock> now;
        std::array<std::uint8_t, kBlock> want;
        std::memcpy(now.data(), morph + i, kBlock);
        std::memcpy(want.data(), target + i, kBlock);
        for (std::size_t k = 0; k < kBlock; ++k) {
            now[k] = morphStep(now[k], want[k]);
            differs[k] |= now[k] ^ want[k];
        }
        std::memcpy(morph + i, now.data(), kBlock);
        std::memcpy(shown + i, now.data(), kBlock);
    }
    for (; i < bytes; ++i) {
        shown[i] = morph[i] = morphStep(morph[i], target[i]);
        differs[0] |= morph[i] ^ target[i];
    }
    return std::all_of(differs.begin(), differs.end(), [](std::uint8_t d) { return d == 0; });
}

void colourMorph(TransitionContext& c) {
    Bitmap morph = c.screen;
    const std::size_t bytes = std::min(morph.stride(), c.composite.stride());
    const int rows = std::min(morph.height(), c.composite.height());
    // A row that has reached the new picture is only copied from then on.
    std::vector<bool> arrived(static_cast<std::size_t>(std::max(rows, 0)), false);
    for (int frame = 0; frame < 24; ++frame) {
        for (int y = 0; y < rows; ++y) {
            if (arrived[static_cast<std::size_t>(y)]) {
                std::memcpy(c.screen.row(y), c.composite.row(y), bytes);
            } else {
                arrived[static_cast<std::size_t>(y)] =
                    morphRow(morph.row(y), c.composite.row(y), c.screen.row(y), bytes);
            }
        }
        c.screen.markDamage({0, 0, kW, kH});  // written row by row above
        c.endFrame();
    }
}

void randomRowSplit(TransitionContext& c) {
    std::array<int, kH> split{};
    for (int y = 0; y < kH; ++y) split[y] = 20 + c.random.next() % 600;
    std::array<int, 2 * kH> order{};
    for (int y = 0; y < kH; ++y) {
        order[2 * y] = y;
        order[2 * y + 1] = y + kH;
    }
    for (int i = 0; i < 2 * kH; ++i) std::swap(order[i], order[c.random.next() % (2 * kH)]);
    for (int i = 0; i < 2 * kH; ++i) {
        const int h = order[i];
        if (h < kH) {
            c.copy({0, h, split[h], h + 1});
        } else {
            c.copy({split[h - kH], h - kH, kW, h - kH + 1});
        }
        if (i % 24 == 23) c.endFrame();
    }
}

using Effect = void (*)(TransitionContext&);
constexpr std::array<Effect, 15> kEffects = {
    cut,         verticalBlinds,      horizontalBlinds, columnWave,      iris,
    squeezeFlip, ditherDissolve,      rowInterlace,     columnInterlace, fallingTiles,
    squareSweep, diagonalSquareSweep, softWipe,         colourMorph,     randomRowSplit,
};

}  // namespace

void TransitionContext::copy(Rect r) {
    copyRect(screen, composite, r);
}

void TransitionContext::endFrame() {
    host.endFrame(screen);
    ++frames;
}

void TransitionContext::repaint() {
    host.repaint(screen);
}

void TransitionContext::ditherTile(Bitmap& into, int tile) {
    into.resize(8, 8);
    blit(into, 0, 0, 8, 8, diza, 8 * tile, 0);
}

int runTransitionEffect(int effect, TransitionContext& context) {
    if (effect < 0 || effect >= static_cast<int>(kEffects.size())) return 0;
    kEffects[static_cast<std::size_t>(effect)](context);
    return context.frames;
}

}  // namespace corvan
