// The transition effects frame by frame: each effect is run between two pictures that differ in
// every byte, and every frame it shows is checked pixel for pixel against where the new picture
// should have arrived by then. A game on the headless player checks the speed setting.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "headless/headless_host.h"
#include "render/layers.h"
#include "render/resources.h"
#include "render/transition_effects.h"
#include "settings/setting_names.h"
#include "support/dither_tiles.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

// The old picture's bytes lie in 16-127, the new one's in 128-255: no pixel of either is
// black, and no pixel of one equals the pixel of the other at any place.
const Bitmap& oldPicture() {
    static const Bitmap picture = makeBitmap(kScreenWidth, kScreenHeight, [](int x, int y) {
        return rgb(16 + (x / 100 * 7 + y / 100 * 13) % 100, 16 + y % 100, 16 + x % 100);
    });
    return picture;
}

const Bitmap& newPicture() {
    static const Bitmap picture = makeBitmap(kScreenWidth, kScreenHeight, [](int x, int y) {
        return rgb(128 + (x ^ y) % 128, 128 + (x + 3 * y) % 128, 128 + (7 * x + y) % 128);
    });
    return picture;
}

bool samePixel(const Bitmap& a, int ax, int ay, const Bitmap& b, int bx, int by) {
    return std::memcmp(a.row(ay) + 3 * ax, b.row(by) + 3 * bx, 3) == 0;
}

// Where `frame` differs from what it should show: the new picture where `showsNew` holds, the
// old picture elsewhere. Empty when every pixel is right.
template <typename ShowsNew>
std::string wrongPixels(const Bitmap& frame, const ShowsNew& showsNew) {
    const Bitmap& oldOne = oldPicture();
    const Bitmap& newOne = newPicture();
    int wrong = 0;
    std::string first;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool wantNew = showsNew(x, y);
            const Bitmap& want = wantNew ? newOne : oldOne;
            if (samePixel(frame, x, y, want, x, y)) continue;
            if (wrong++ == 0) {
                first = std::to_string(x) + "," + std::to_string(y) + " should show the " +
                        (wantNew ? "new" : "old") + " picture";
            }
        }
    }
    return wrong == 0 ? "" : std::to_string(wrong) + " wrong pixels, first at " + first;
}

// One effect run between two pictures. Each frame is handed, as the host is shown it, to a
// check that gets the frame's index from 0; `shown` counts the frames.
struct EffectRun {
    using FrameCheck = std::function<void(int, const Bitmap&)>;

    explicit EffectRun(const Bitmap& from = oldPicture(), const Bitmap& to = newPicture())
        : screen(from), composite(to) {
        host.onFrame([this](const Bitmap& frame) {
            if (check) check(shown, frame);
            ++shown;
        });
    }
    int run(int effect, int factor, FrameCheck frameCheck = {}) {
        check = std::move(frameCheck);
        TransitionContext context{screen, composite, diza, factor, random, host};
        return runTransitionEffect(effect, context);
    }

    Bitmap screen;
    Bitmap composite;
    Bitmap diza = loadResource("DIZA");
    Random random;
    HeadlessHost host;
    FrameCheck check;
    int shown = 0;
};

// Whether tile `t` is white at (x, y), the tile repeated from the origin.
bool tileWhite(int t, int x, int y) {
    return (kDitherTiles[t][y % 8] >> (7 - x % 8) & 1) != 0;
}

constexpr std::array<int, 19> kSqueezeWidths = {632, 630, 622, 610, 594, 573, 547, 518, 484, 447,
                                                406, 363, 316, 267, 216, 164, 110, 50,  0};

// The frames of effects 0 to 14 at speed factor 1 (normal) and 2 (faster).
constexpr int kFrameCounts[2][15] = {{1, 8, 8, 60, 25, 38, 17, 48, 64, 40, 50, 76, 97, 24, 40},
                                     {1, 8, 8, 60, 25, 20, 9, 24, 32, 40, 50, 76, 49, 24, 40}};

TEST(TransitionEffects,
     GivenEachEffectAtEitherSpeed_WhenRun_ThenItShowsItsFramesAndEndsOnTheNewPicture) {
    for (int effect = 0; effect < 15; ++effect) {
        for (const int factor : {1, 2}) {
            SCOPED_TRACE("effect " + std::to_string(effect) + " at factor " +
                         std::to_string(factor));
            EffectRun run;
            run.run(effect, factor);
            if (effect == 0) {
                // The cut is one forced repaint, with no pause for events.
                EXPECT_EQ(run.host.framesEnded(), 0);
                EXPECT_EQ(run.host.repaints(), 1);
            } else {
                EXPECT_EQ(run.host.framesEnded(), kFrameCounts[factor - 1][effect]);
            }
            EXPECT_TRUE(sameBitmap(run.screen, newPicture()));
            EXPECT_TRUE(sameBitmap(run.composite, newPicture())) << "the composite was drawn on";
        }
    }
}

TEST(TransitionEffects, GivenNumbersOutsideTheTable_WhenRun_ThenNothingIsShownAndTheScreenStays) {
    for (const int effect : {15, -1, 100}) {
        SCOPED_TRACE("effect " + std::to_string(effect));
        EffectRun run;
        EXPECT_EQ(run.run(effect, 1), 0);
        EXPECT_EQ(run.host.framesEnded(), 0);
        EXPECT_EQ(run.host.repaints(), 0);
        EXPECT_TRUE(sameBitmap(run.screen, oldPicture()));
    }
}

// Whether the soft wipe shows the new picture at (x, y) after frame `frame` (from 0): the band's
// dither tile at the last place the band had this column decides, since the tiles are nested.
bool softWipeShowsNew(int x, int y, int frame, int factor) {
    const int step = 8 * factor;
    const int last = std::min(frame, (x + 136) / step);
    const int p = x - (-136 + step * last);
    return p < 136 && tileWhite(p / 8, p, y);
}

// Whether (x, y) lies in the square of half side `h` around the centre of its 16x16 cell.
bool inGrowingSquare(int x, int y, int h) {
    const int cx = x / 16 * 16 + 8, cy = y / 16 * 16 + 8;
    return x >= cx - h && x < cx + h && y >= cy - h && y < cy + h;
}

TEST(TransitionEffects, GivenEachWipe_WhenEachFrameEnds_ThenExactlyItsShapeShowsTheNewPicture) {
    struct Case {
        const char* name;
        int effect;
        int factor;
        int frames;
        std::function<bool(int f, int x, int y)> showsNew;
    };
    // Rows or columns close in from both ends: 5 from each a frame at normal speed.
    const auto rows = [](int factor) {
        return [factor](int f, int, int y) {
            const int reach = 10 * factor * (f + 1);
            return y % 2 == 0 ? y < reach : 479 - y < reach;
        };
    };
    const auto columns = [](int factor) {
        return [factor](int f, int x, int) {
            const int reach = 10 * factor * (f + 1);
            return x % 2 == 0 ? x < reach : 639 - x < reach;
        };
    };
    // The tiles' black pixels show the new picture: tiles 0, 2, ..., 16 at the faster speed.
    const auto dither = [](int factor) {
        return [factor](int f, int x, int y) { return !tileWhite(std::min(f * factor, 16), x, y); };
    };
    const auto softWipe = [](int factor) {
        return [factor](int f, int x, int y) { return softWipeShowsNew(x, y, f, factor); };
    };
    const Case cases[] = {
        {"vertical blinds: one more column of eight", 1, 1, 8,
         [](int f, int x, int) { return x % 8 <= f; }},
        {"horizontal blinds: one more row of eight", 2, 1, 8,
         [](int f, int, int y) { return y % 8 <= f; }},
        // Column q has grown by one pixel a frame since frame q.
        {"column wave: columns grow from their left edge in turn", 3, 1, 60,
         [](int f, int x, int) { return x % 16 < std::clamp(f - x / 16 + 1, 0, 16); }},
        {"dither dissolve", 6, 1, 17, dither(1)},
        {"dither dissolve, faster", 6, 2, 9, dither(2)},
        {"row interlace", 7, 1, 48, rows(1)},
        {"row interlace, faster", 7, 2, 24, rows(2)},
        {"column interlace", 8, 1, 64, columns(1)},
        {"column interlace, faster", 8, 2, 32, columns(2)},
        {"square sweep: squares grow from their centres column by column", 10, 1, 50,
         [](int f, int x, int y) {
             return inGrowingSquare(x, y, std::clamp(f - x / 16 + 1, 0, 8));
         }},
        {"diagonal square sweep: squares grow in diagonals from the top left", 11, 1, 76,
         [](int f, int x, int y) {
             return inGrowingSquare(x, y, std::clamp(f - x / 16 - y / 16 + 1, 0, 8));
         }},
        {"soft wipe: the dithered band moves right", 12, 1, 97, softWipe(1)},
        {"soft wipe, faster", 12, 2, 49, softWipe(2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EffectRun run;
        run.run(c.effect, c.factor, [&](int f, const Bitmap& frame) {
            EXPECT_EQ(wrongPixels(frame, [&](int x, int y) { return c.showsNew(f, x, y); }), "")
                << "frame " << f + 1;
        });
        EXPECT_EQ(run.shown, c.frames);
    }
}

TEST(TransitionEffects, GivenIris_WhenEachFrameEnds_ThenADiscAroundTheCentreShowsTheNewPicture) {
    EffectRun run;
    run.run(4, 1, [](int f, const Bitmap& frame) {
        const int r = 5 + 20 * f;
        int wrong = 0;
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                const int d2 = (x - 320) * (x - 320) + (y - 240) * (y - 240);
                const bool isNew = samePixel(frame, x, y, newPicture(), x, y);
                const bool isOld = samePixel(frame, x, y, oldPicture(), x, y);
                // Inside the circle is new, outside old; its rim may be either.
                if (d2 <= (r - 2) * (r - 2)) {
                    wrong += !isNew;
                } else if (d2 > (r + 2) * (r + 2)) {
                    wrong += !isOld;
                } else {
                    wrong += !isNew && !isOld;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "frame " << f + 1 << " radius " << r;
    });
    EXPECT_EQ(run.shown, 25);
}

// Where a frame of the squeeze flip is not `width` columns of `picture` centred on black.
std::string squeezeFault(const Bitmap& frame, const Bitmap& picture, int width) {
    const int left = (kScreenWidth - width) / 2;
    for (int y = 0; y < kScreenHeight; y += 7) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const std::string at = " at " + std::to_string(x) + "," + std::to_string(y);
            if (x < left || x >= left + width) {
                if (frame.pixel(x, y) != 0) return "not black" + at;
                continue;
            }
            // Each column shows the picture's column at its place in the width, give or take
            // one source step for rounding.
            const int sx = (x - left) * kScreenWidth / width;
            const int slack = kScreenWidth / width + 1;
            bool found = false;
            for (int c = std::max(sx - slack, 0); c <= std::min(sx + slack, kScreenWidth - 1);
                 ++c) {
                found = found || samePixel(frame, x, y, picture, c, y);
            }
            if (!found) return "not the squeezed picture" + at;
        }
    }
    return "";
}

TEST(TransitionEffects, GivenSqueezeFlip_WhenEachFrameEnds_ThenThePictureIsItsWidthCentredOnBlack) {
    Bitmap sixth;  // at normal speed
    for (const int factor : {1, 2}) {
        SCOPED_TRACE("factor " + std::to_string(factor));
        // The old picture narrows, then the new one widens.
        std::vector<std::pair<const Bitmap*, int>> shown;
        for (int i = 0; i < 19; i += factor) shown.emplace_back(&oldPicture(), kSqueezeWidths[i]);
        for (int i = 18; i >= 0; i -= factor) shown.emplace_back(&newPicture(), kSqueezeWidths[i]);
        EffectRun run;
        run.run(5, factor, [&](int f, const Bitmap& frame) {
            if (factor == 1 && f == 5) sixth = frame;
            if (f >= static_cast<int>(shown.size())) return;
            const auto [picture, width] = shown[static_cast<std::size_t>(f)];
            EXPECT_EQ(squeezeFault(frame, *picture, width), "")
                << "frame " << f + 1 << " width " << width;
        });
        EXPECT_EQ(run.shown, static_cast<int>(shown.size()));
        // Drawn whole at the end, with the black edges of the last frame gone.
        EXPECT_TRUE(sameBitmap(run.screen, newPicture()));
        EXPECT_EQ(run.host.repaints(), 1);
    }
    // The sixth frame at normal speed is 573 columns wide, starting at 33.
    ASSERT_EQ(sixth.width(), kScreenWidth);
    for (const int y : {0, 240, 479}) {
        EXPECT_EQ(sixth.pixel(0, y), 0u);
        EXPECT_EQ(sixth.pixel(32, y), 0u);
        EXPECT_TRUE(samePixel(sixth, 33, y, oldPicture(), 0, y));
        EXPECT_TRUE(samePixel(sixth, 605, y, oldPicture(), 638, y) ||
                    samePixel(sixth, 605, y, oldPicture(), 639, y));
        EXPECT_EQ(sixth.pixel(606, y), 0u);
        EXPECT_EQ(sixth.pixel(639, y), 0u);
    }
}

TEST(TransitionEffects,
     GivenFallingTiles_WhenFramesEnd_ThenBottomRightDropsFirstFasterAndTopLeftStaysNineFrames) {
    const auto topLeftOld = [](const Bitmap& frame) {
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (!samePixel(frame, x, y, oldPicture(), x, y)) return false;
            }
        }
        return true;
    };
    // The bottom-right tile starts at counter 4: it has dropped 4, 9, 15, 22, ... pixels.
    int drop = 0;
    EffectRun run;
    run.run(9, 1, [&](int f, const Bitmap& frame) {
        if (f < 9) {
            EXPECT_TRUE(topLeftOld(frame)) << "frame " << f + 1;
        }
        if (f == 9) {
            // Frame 10 moves the top-left tile down by one: the new picture shows in the top row.
            EXPECT_TRUE(samePixel(frame, 40, 0, newPicture(), 40, 0));
            EXPECT_TRUE(samePixel(frame, 40, 1, oldPicture(), 40, 0));
            EXPECT_TRUE(samePixel(frame, 40, 80, oldPicture(), 40, 79));
        }
        if (f >= 5) return;
        drop += 4 + f;
        for (const int y : {400 + drop, 479}) {
            for (const int x : {560, 600, 639}) {
                EXPECT_TRUE(samePixel(frame, x, y, oldPicture(), x, y - drop))
                    << "frame " << f + 1 << " at " << x << "," << y << " drop " << drop;
            }
        }
        // Just above it the new picture shows through (the tile above falls more slowly).
        EXPECT_TRUE(samePixel(frame, 600, 400 + drop - 1, newPicture(), 600, 400 + drop - 1))
            << "frame " << f + 1;
    });
    EXPECT_EQ(run.shown, 40);
    EXPECT_EQ(drop, 4 + 5 + 6 + 7 + 8);
}

TEST(TransitionEffects, GivenSoftWipe_WhenItEnds_ThenTheWholeNewPictureShowsAtEitherSpeed) {
    bool lastFrameNew = false;
    const auto noteLastFrame = [&](int, const Bitmap& frame) {
        lastFrameNew = sameBitmap(frame, newPicture());
    };
    EffectRun normal;
    normal.run(12, 1, noteLastFrame);
    EXPECT_TRUE(lastFrameNew);
    EXPECT_TRUE(sameBitmap(normal.screen, newPicture()));

    // At the faster speed the band leaves specks of the old picture; they are drawn over.
    EffectRun faster;
    faster.run(12, 2, noteLastFrame);
    EXPECT_FALSE(lastFrameNew);
    EXPECT_TRUE(sameBitmap(faster.screen, newPicture()));
    EXPECT_EQ(faster.host.repaints(), 1);
}

TEST(TransitionEffects, GivenColourMorphBetweenIdenticalPictures_ThenAll24FramesShowThatPicture) {
    EffectRun run(oldPicture(), oldPicture());
    run.run(13, 1, [](int f, const Bitmap& frame) {
        EXPECT_TRUE(sameBitmap(frame, oldPicture())) << "frame " << f + 1;
    });
    EXPECT_EQ(run.shown, 24);
}

TEST(TransitionEffects,
     GivenColourMorph_WhenEachFrameEnds_ThenEveryByteMovesAtMost12TowardsTheNew) {
    // Every byte value against its complement: moves of 1 to 255 in both directions.
    const Bitmap from = makeBitmap(kScreenWidth, kScreenHeight, [](int x, int y) {
        return rgb((y * 5) & 0xFF, (x * 3) & 0xFF, (x + y) & 0xFF);
    });
    const Bitmap to = makeBitmap(kScreenWidth, kScreenHeight,
                                 [&](int x, int y) { return ~from.pixel(x, y) & 0xFFFFFFu; });
    std::vector<bool> reached;
    EffectRun run(from, to);
    run.run(13, 1, [&](int f, const Bitmap& frame) {
        int wrong = 0;
        for (int y = 0; y < kScreenHeight; ++y) {
            for (std::size_t i = 0; i < from.stride(); ++i) {
                const int o = from.row(y)[i], n = to.row(y)[i];
                const int moved = std::min(12 * (f + 1), std::abs(n - o));
                const int want = o < n ? o + moved : o - moved;
                wrong += frame.row(y)[i] != want;
            }
        }
        EXPECT_EQ(wrong, 0) << "frame " << f + 1;
        reached.push_back(sameBitmap(frame, to));
    });
    ASSERT_EQ(reached.size(), 24u);
    // 21 steps of 12 are not enough for a move of 255; 22 are.
    EXPECT_FALSE(reached[20]);
    EXPECT_TRUE(reached[21]);
    EXPECT_TRUE(reached[23]);
}

TEST(TransitionEffects,
     GivenRandomRowSplit_WhenRun_ThenItDraws1440NumbersAndShowsHalfRowsInThatOrder) {
    EffectRun run;
    for (int i = 0; i < 1234; ++i) run.random.next();  // a game that has run for a while
    Random expected = run.random;
    std::array<int, 480> split{};
    for (int y = 0; y < 480; ++y) split[y] = 20 + expected.next() % 600;
    std::array<int, 960> order{};
    for (int y = 0; y < 480; ++y) {
        order[2 * y] = y;
        order[2 * y + 1] = 480 + y;
    }
    for (int i = 0; i < 960; ++i) std::swap(order[i], order[expected.next() % 960]);

    // Each row splits where its left part ends, the first time that part shows; a split at 0 or
    // 640 would show a whole row at once.
    std::array<int, 480> seenSplit{};
    seenSplit.fill(-1);
    std::array<bool, 480> leftShown{}, rightShown{};
    run.run(14, 1, [&](int f, const Bitmap& frame) {
        for (int y = 0; y < kScreenHeight; ++y) {
            if (seenSplit[y] >= 0 || !samePixel(frame, 0, y, newPicture(), 0, y)) continue;
            int x = 0;
            while (x < kScreenWidth && samePixel(frame, x, y, newPicture(), x, y)) ++x;
            seenSplit[y] = x;
        }
        if (f >= 40) return;
        for (int i = 24 * f; i < 24 * (f + 1); ++i) {
            (order[i] < 480 ? leftShown[order[i]] : rightShown[order[i] - 480]) = true;
        }
        const auto showsNew = [&](int x, int y) {
            return x < split[y] ? leftShown[y] : rightShown[y];
        };
        EXPECT_EQ(wrongPixels(frame, showsNew), "") << "frame " << f + 1;
    });
    EXPECT_EQ(run.shown, 40);
    EXPECT_EQ(run.random.state(), expected.state());
    for (int y = 0; y < kScreenHeight; ++y) {
        if (seenSplit[y] == kScreenWidth) continue;  // the right part came first, in the same frame
        EXPECT_GE(seenSplit[y], 20) << "row " << y;
        EXPECT_LE(seenSplit[y], 619) << "row " << y;
    }
}

// --- Through a game ---------------------------------------------------------------------

TEST(TransitionInGame, GivenNoEffectsSetting_WhenPicturesShowWithEveryNumber_ThenEachIsACut) {
    std::string script;
    const char* colours[] = {"SF00", "S0F0", "S00F"};
    for (int n = 0; n <= 15; ++n) {
        script += std::string("*gra ") + colours[n % 3] + "," + std::to_string(n) + "\n";
    }
    TestGame t({chunk("main", script)});
    t.host().setSettingFallback(setting::kGMode, "2");
    t.start();
    t.player().run();
    EXPECT_EQ(t.host().framesEnded(), 0);
    const auto transitions = t.events("transition ");
    ASSERT_EQ(transitions.size(), 16u);
    for (int n = 0; n <= 15; ++n) {
        EXPECT_EQ(transitions[n], std::to_string(n) + " frames 1");
    }
    // The last picture, SF00 with number 15, is on the screen all the same.
    EXPECT_EQ(t.game().screen.pixel(100, 100), 0xF00000u);
}

TEST(TransitionInGame, GivenEachSpeedSetting_WhenTransitioning_ThenStepsCutsAndUnknownNumbers) {
    TestGame t({chunk("main", "")});
    Game& game = t.start();
    // Numbers outside the table change the composite but not the screen.
    game.layers.background = oldPicture();
    game.Transition(0);
    ASSERT_TRUE(sameBitmap(game.screen, oldPicture()));
    for (const int n : {15, -1}) {
        game.layers.background = newPicture();
        game.Transition(n);
        EXPECT_TRUE(sameBitmap(game.layers.composite, newPicture())) << n;
        EXPECT_TRUE(sameBitmap(game.screen, oldPicture())) << n;
    }

    // The faster setting doubles the steps.
    const std::int64_t before = t.host().framesEnded();
    t.player().setSetting(std::string(setting::kGMode), "1");
    game.layers.background = newPicture();
    game.Transition(7);
    EXPECT_EQ(t.host().framesEnded(), before + 24);
    EXPECT_TRUE(sameBitmap(game.screen, newPicture()));
    t.player().setSetting(std::string(setting::kGMode), "0");
    game.layers.background = oldPicture();
    game.Transition(7);
    EXPECT_EQ(t.host().framesEnded(), before + 24 + 48);
    EXPECT_TRUE(sameBitmap(game.screen, oldPicture()));

    // Settings other than normal and faster make every number a cut.
    for (const char* mode : {"2", "5", "-1"}) {
        t.player().setSetting(std::string(setting::kGMode), mode);
        for (int n = -1; n <= 15; ++n) {
            SCOPED_TRACE(std::string("GMode ") + mode + " number " + std::to_string(n));
            game.layers.background = n % 2 == 0 ? oldPicture() : newPicture();
            const std::int64_t frames = t.host().framesEnded();
            const std::int64_t repaints = t.host().repaints();
            game.Transition(n);
            EXPECT_EQ(t.host().framesEnded(), frames);
            EXPECT_EQ(t.host().repaints(), repaints + 1);
            EXPECT_TRUE(sameBitmap(game.screen, game.layers.background));
        }
    }
}

}  // namespace
}  // namespace corvan::test
