// Composition as the player sees it on the screen surface: the picture with its overlay, the
// message frame with its see-through blue backdrop, the full redraw, and the pulsing wait
// marker in the bottom-right corner.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/bmp.h"
#include "render/prs.h"
#include "render/raster.h"
#include "render/resources.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

// The frame lies at (32, 376) in the fixed mode; its inside, under the 6-pixel border, is the
// 564x84 area from (38, 382) to (601, 465) inclusive.
constexpr int kFrameX = 32;
constexpr int kFrameY = 376;
constexpr int kFrameW = 576;
constexpr int kFrameH = 96;
constexpr int kInsideLeft = 38;
constexpr int kInsideTop = 382;
constexpr int kInsideRight = 601;
constexpr int kInsideBottom = 465;

constexpr std::uint32_t kMagenta = 0xFF00FF;

int red(std::uint32_t c) {
    return static_cast<int>(c & 0xFF);
}
int green(std::uint32_t c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
int blue(std::uint32_t c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// The blue fade by row distance from the bottom of the inside: one step a row while it is below
// 40, two steps a row after that.
int fade(int d) {
    int g = 0;
    for (int i = 0; i < d; ++i) g += g < 40 ? 1 : 2;
    return g;
}

bool isBorder(int fx, int fy) {
    return fx < 6 || fy < 6 || fx >= kFrameW - 6 || fy >= kFrameH - 6;
}
bool inFrame(int x, int y) {
    return x >= kFrameX && x < kFrameX + kFrameW && y >= kFrameY && y < kFrameY + kFrameH;
}

// Counts the pixels of the screen's frame inside that differ from `expected(x, y)`, and reports
// the first one.
template <typename Expected>
int countInsideMismatches(const Bitmap& screen, Expected expected) {
    int bad = 0;
    for (int y = kInsideTop; y <= kInsideBottom; ++y) {
        for (int x = kInsideLeft; x <= kInsideRight; ++x) {
            const std::uint32_t want = expected(x, y);
            if (screen.pixel(x, y) != want && bad++ == 0) {
                ADD_FAILURE() << "first mismatch at (" << x << ", " << y << "): 0x" << std::hex
                              << screen.pixel(x, y) << " instead of 0x" << want;
            }
        }
    }
    return bad;
}

// Every border pixel of the frame on the screen against the frame picture.
int countBorderMismatches(const Bitmap& screen) {
    const Bitmap textBg = loadResource("TEXT_BG");
    int bad = 0;
    for (int fy = 0; fy < kFrameH; ++fy) {
        for (int fx = 0; fx < kFrameW; ++fx) {
            if (!isBorder(fx, fy)) continue;
            if (screen.pixel(kFrameX + fx, kFrameY + fy) != textBg.pixel(fx, fy)) ++bad;
        }
    }
    return bad;
}

// Every screen pixel outside the frame against the composite.
int countOutsideFrameMismatches(const Bitmap& screen, const Bitmap& composite) {
    int bad = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (!inFrame(x, y) && screen.pixel(x, y) != composite.pixel(x, y)) ++bad;
        }
    }
    return bad;
}

// A game whose A001 is `picture`, started on `script` and run until it waits or stops.
Game& runWithPicture(TestGame& t, const Bitmap& picture) {
    writePrs(t.gameDir() / "GRA/A/A001.PRS", picture);
    Game& g = t.start();
    t.player().run();
    return g;
}

// A picture whose channels vary with the position, odd and even values alike.
const Bitmap& patternPicture() {
    static const Bitmap picture = makeBitmap(640, 480, [](int x, int y) {
        return rgb((x * 7 + y) % 256, (y * 3 + x / 2) % 256, (x + y * 5) % 256);
    });
    return picture;
}

// --- The frame's backdrop ------------------------------------------------------------------

TEST(FrameBackdrop,
     GivenABlackPicture_WhenTheFrameOpens_ThenBlueFadesFrom128AtTheBottomTo2AtTheTop) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0x000000));
    ASSERT_TRUE(g.frameOpen);

    EXPECT_EQ(g.screen.pixel(kInsideLeft, kInsideBottom), rgb(0, 0, 128));
    EXPECT_EQ(g.screen.pixel(kInsideRight, kInsideBottom), rgb(0, 0, 128));
    EXPECT_EQ(g.screen.pixel(kInsideLeft, kInsideTop), rgb(0, 0, 2));
    EXPECT_EQ(g.screen.pixel(kInsideRight, kInsideTop), rgb(0, 0, 2));
    EXPECT_EQ(g.screen.pixel(300, kInsideBottom - 40), rgb(0, 0, 88));
    EXPECT_EQ(g.screen.pixel(300, kInsideBottom - 41), rgb(0, 0, 86));
    EXPECT_EQ(countInsideMismatches(
                  g.screen, [](int, int y) { return rgb(0, 0, 128 - fade(kInsideBottom - y)); }),
              0);
}

TEST(FrameBackdrop,
     GivenAWhitePicture_WhenTheFrameOpens_ThenRedAndGreenAre127AndBlueIs255LessTheFade) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0xFFFFFF));

    EXPECT_EQ(g.screen.pixel(kInsideLeft, kInsideBottom), rgb(127, 127, 255));
    EXPECT_EQ(g.screen.pixel(kInsideLeft, kInsideTop), rgb(127, 127, 129));
    EXPECT_EQ(
        countInsideMismatches(
            g.screen, [](int, int y) { return rgb(127, 127, 255 - fade(kInsideBottom - y)); }),
        0);
}

TEST(FrameBackdrop,
     GivenAnyPicture_WhenTheFrameOpens_ThenTheBorderIsTheFramePictureAndTheRestThePicture) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    Game& g = runWithPicture(t, patternPicture());

    EXPECT_EQ(countBorderMismatches(g.screen), 0);
    EXPECT_EQ(countOutsideFrameMismatches(g.screen, g.layers.composite), 0);
    // The first pixels past the frame on each side are the picture's.
    EXPECT_EQ(g.screen.pixel(31, 400), g.layers.composite.pixel(31, 400));
    EXPECT_EQ(g.screen.pixel(608, 400), g.layers.composite.pixel(608, 400));
    EXPECT_EQ(g.screen.pixel(100, 375), g.layers.composite.pixel(100, 375));
    EXPECT_EQ(g.screen.pixel(100, 472), g.layers.composite.pixel(100, 472));
}

TEST(FrameBackdrop,
     GivenAPatternedPicture_WhenTheFrameOpens_ThenEachInsidePixelIsHalvedWithBlueRaised) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    const Bitmap& picture = patternPicture();
    Game& g = runWithPicture(t, picture);

    EXPECT_EQ(countInsideMismatches(g.screen,
                                    [&](int x, int y) {
                                        const std::uint32_t c = picture.pixel(x, y);
                                        return rgb(red(c) / 2, green(c) / 2,
                                                   128 + blue(c) / 2 - fade(kInsideBottom - y));
                                    }),
              0);
}

TEST(FrameBackdrop,
     GivenAnOverlayUnderTheFrame_WhenTheFrameOpens_ThenTheBackdropIsMadeFromTheComposite) {
    TestGame t({chunk("main", "*grb B002\n*gra A001,0\n▽\n")});
    // The overlay is white except its magenta top-left 100x100 corner, which lets the black
    // background through; the frame lies wholly under its white part.
    writePrs(t.gameDir() / "GRA/B/B002.PRS", makeBitmap(640, 480, [](int x, int y) {
                 return x < 100 && y < 100 ? kMagenta : 0xFFFFFFu;
             }));
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0x000000));
    ASSERT_TRUE(g.overlayShown);

    EXPECT_EQ(
        countInsideMismatches(
            g.screen, [](int, int y) { return rgb(127, 127, 255 - fade(kInsideBottom - y)); }),
        0);
}

TEST(FrameBackdrop,
     GivenTheMovableMode_WhenTheFrameOpens_ThenTheMessageWindowShowsTheBareFramePicture) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0xFFFFFF));
    ASSERT_TRUE(g.movableFrame);

    EXPECT_TRUE(t.host().textWindowShown());
    EXPECT_TRUE(sameBitmap(t.host().textWindow(), loadResource("TEXT_BG")));
    EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));  // nothing of the frame on the picture
}

TEST(FrameBackdrop, GivenTheMovableMode_WhenTheBackdropIsBuilt_ThenNothingChanges) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0xFFFFFF));
    const Bitmap backdrop = g.layers.frameBackdrop;
    const Bitmap frame = g.layers.textFrame;
    const Bitmap screen = g.screen;

    g.BuildFrameBackdrop();

    EXPECT_TRUE(sameBitmap(g.layers.frameBackdrop, backdrop));
    EXPECT_TRUE(sameBitmap(g.layers.frameBackdrop, loadResource("TEXT_BG")));
    EXPECT_TRUE(sameBitmap(g.layers.textFrame, frame));
    EXPECT_TRUE(sameBitmap(g.screen, screen));
}

// --- The full redraw -----------------------------------------------------------------------

TEST(RedrawScreen, GivenAClosedFrameAndAnOverlay_WhenClrbRuns_ThenTheScreenIsTheBackgroundAlone) {
    TestGame t({chunk("main", "*grb B002\n*gra A001,0\n〓\n*clrb\n〓\n")});
    // Green everywhere but its magenta top-left pixel, the key colour.
    writePrs(t.gameDir() / "GRA/B/B002.PRS", makeBitmap(640, 480, [](int x, int y) {
                 return x == 0 && y == 0 ? kMagenta : 0x00FF00u;
             }));
    const Bitmap& picture = patternPicture();
    Game& g = runWithPicture(t, picture);
    ASSERT_EQ(g.screen.pixel(320, 240), 0x00FF00u);  // the overlay covers all but one pixel

    t.player().click(MouseButton::Left, 10, 10);
    t.player().run();

    ASSERT_FALSE(g.frameOpen);
    EXPECT_FALSE(g.overlayShown);
    EXPECT_TRUE(sameBitmap(g.screen, picture));
}

TEST(RedrawScreen, GivenAnOpenFrameWithText_WhenClrbRuns_ThenTheFrameShowsAFreshBackdropAndNoText) {
    TestGame t({chunk("main", "*gra A001,0\nHello, hotel.\n*clrb\n〓\n")});
    t.host().writeSetting(setting::kDelay, "1");  // a whole line in one step
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, 0x000000));
    Game& g = t.start();
    t.step();
    int white = 0;
    for (int y = kInsideTop; y <= kInsideBottom; ++y) {
        for (int x = kInsideLeft; x <= kInsideRight; ++x) white += g.screen.pixel(x, y) == 0xFFFFFF;
    }
    ASSERT_GT(white, 20) << "the line should be on the screen before the redraw";

    t.player().run();

    ASSERT_EQ(g.waitKind, WaitKind::Plain);
    EXPECT_EQ(countInsideMismatches(
                  g.screen, [](int, int y) { return rgb(0, 0, 128 - fade(kInsideBottom - y)); }),
              0);
    EXPECT_EQ(countBorderMismatches(g.screen), 0);
}

TEST(RedrawScreen,
     GivenAnOpenFrame_WhenThePictureChangesAndTheScreenIsRedrawn_ThenTheBackdropFollowsIt) {
    TestGame t({chunk("main", "*gra A001,0\nHello\n")});
    t.host().writeSetting(setting::kDelay, "1");
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, 0x000000));
    Game& g = t.start();
    t.step();
    ASSERT_TRUE(g.frameOpen);
    fillRect(g.layers.background, {0, 0, 640, 480}, 0xFFFFFF);
    g.updatePending = false;

    g.RedrawScreen();

    EXPECT_TRUE(g.updatePending);
    EXPECT_EQ(
        countInsideMismatches(
            g.screen, [](int, int y) { return rgb(127, 127, 255 - fade(kInsideBottom - y)); }),
        0);
    EXPECT_EQ(countBorderMismatches(g.screen), 0);
    EXPECT_EQ(countOutsideFrameMismatches(g.screen, solidBitmap(640, 480, 0xFFFFFF)), 0);
}

TEST(RedrawScreen,
     GivenTheMovableMode_WhenTheScreenIsRedrawnWithTheFrameOpen_ThenOnlyTheCompositeShows) {
    TestGame t({chunk("main", "*gra A001,0\n▽\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = runWithPicture(t, patternPicture());
    ASSERT_TRUE(g.frameOpen);
    fillRect(g.screen, {0, 0, 640, 480}, 0x123456);

    g.RedrawScreen();

    EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));
}

// --- Background and overlay ----------------------------------------------------------------

TEST(Compose,
     GivenAnOverlayWhoseTopLeftIsMagenta_WhenShown_ThenEveryMagentaPixelShowsTheBackground) {
    TestGame t({chunk("main", "*gra A001,0\n*gra B002,0\n")});
    // A 200x200 overlay: magenta with a white disc and a magenta ring inside it.
    const Bitmap overlay = makeBitmap(200, 200, [](int x, int y) {
        const int dx = x - 100, dy = y - 100, r2 = dx * dx + dy * dy;
        if (r2 < 30 * 30) return 0x0000FFu;
        if (r2 < 40 * 40) return kMagenta;
        return r2 < 80 * 80 ? 0xFFFFFFu : kMagenta;
    });
    writePrs(t.gameDir() / "GRA/B/B002.PRS", overlay);
    const Bitmap& picture = patternPicture();
    Game& g = runWithPicture(t, picture);
    ASSERT_TRUE(g.overlayShown);

    int bad = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool onOverlay = x < 200 && y < 200 && overlay.pixel(x, y) != kMagenta;
            const std::uint32_t want = onOverlay ? overlay.pixel(x, y) : picture.pixel(x, y);
            if (g.screen.pixel(x, y) != want) ++bad;
        }
    }
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(g.screen.pixel(100, 100), 0x0000FFu);
    EXPECT_EQ(g.screen.pixel(135, 100), picture.pixel(135, 100));  // the ring
    EXPECT_EQ(g.screen.pixel(160, 100), 0xFFFFFFu);
}

TEST(Compose, GivenAnOverlayWhoseTopLeftIsGreen_WhenShown_ThenGreenIsTransparentAndMagentaIsNot) {
    TestGame t({chunk("main", "*gra A001,0\n*gra B002,0\n")});
    const Bitmap overlay =
        makeBitmap(640, 480, [](int x, int) { return x < 320 ? 0x00FF00u : kMagenta; });
    writePrs(t.gameDir() / "GRA/B/B002.PRS", overlay);
    Game& g = runWithPicture(t, solidBitmap(640, 480, 0x808080));

    EXPECT_EQ(g.screen.pixel(0, 0), 0x808080u);
    EXPECT_EQ(g.screen.pixel(319, 479), 0x808080u);
    EXPECT_EQ(g.screen.pixel(320, 0), kMagenta);
    EXPECT_EQ(g.screen.pixel(639, 479), kMagenta);
}

// --- The wait marker -----------------------------------------------------------------------

constexpr std::uint32_t kCornerColour = rgb(250, 20, 245);

// A game on a picture of kCornerColour with a page of text waiting for the click.
Game& startAtPageWait(TestGame& t) {
    Game& g = runWithPicture(t, solidBitmap(640, 480, kCornerColour));
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_TRUE(g.frameOpen);
    g.RestoreMarkerCorner();  // the timer may have drawn a marker while the game ran
    return g;
}

// Checks the 32x32 corner: in row 479 - d the rightmost `legs - d` pixels are `marked`, all
// others the picture's colour.
void expectTriangle(const Bitmap& screen, int legs, std::uint32_t marked) {
    int bad = 0;
    for (int y = 448; y < 480; ++y) {
        const int d = 479 - y;
        const int changed = d < legs ? legs - d : 0;
        for (int x = 608; x < 640; ++x) {
            const std::uint32_t want = x >= 640 - changed ? marked : kCornerColour;
            if (screen.pixel(x, y) != want && bad++ == 0) {
                ADD_FAILURE() << "first mismatch at (" << x << ", " << y << "): 0x" << std::hex
                              << screen.pixel(x, y) << " instead of 0x" << want;
            }
        }
    }
    EXPECT_EQ(bad, 0);
}

TEST(WaitMarker, GivenTick8_WhenDrawn_ThenA16PixelTriangleTurnsBlueAndLosesRedAndGreen) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 8;

    g.DrawWaitMarker();

    // Blue +240 clamps at 255, green -240 at 0, red 250 - 240 = 10.
    expectTriangle(g.screen, 16, rgb(10, 0, 255));
    EXPECT_EQ(g.screen.pixel(624, 479), rgb(10, 0, 255));  // 16 pixels in the bottom row
    EXPECT_EQ(g.screen.pixel(623, 479), kCornerColour);
    EXPECT_EQ(g.screen.pixel(639, 464), rgb(10, 0, 255));  // 1 pixel in the 16th row up
    EXPECT_EQ(g.screen.pixel(638, 464), kCornerColour);
    EXPECT_EQ(g.screen.pixel(639, 463), kCornerColour);
}

TEST(WaitMarker, GivenTick24_WhenDrawn_ThenTheTriangleTurnsGreenAndLosesBlueAndRed) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 24;

    g.DrawWaitMarker();

    expectTriangle(g.screen, 16, rgb(10, 255, 5));
}

TEST(WaitMarker, GivenTick12_WhenDrawn_ThenAnEightPixelTriangleChangesBy120) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 12;  // k = 16 - 12 = 4

    g.DrawWaitMarker();

    expectTriangle(g.screen, 8, rgb(130, 0, 255));
}

TEST(WaitMarker, GivenTick16AfterTick8_WhenDrawn_ThenTheMarkerHasErasedItself) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 8;
    g.DrawWaitMarker();
    g.tickCount = 16;  // k = 0

    g.DrawWaitMarker();

    expectTriangle(g.screen, 0, 0);
}

TEST(WaitMarker, GivenAPageWait_WhenTheTimerReachesTick8_ThenItDrawsTheMarker) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 7;

    g.Timer1Timer();

    EXPECT_EQ(g.tickCount, 8);
    expectTriangle(g.screen, 16, rgb(10, 0, 255));
}

TEST(WaitMarker, GivenAPageWait_ThenTheMarkerCornerIsAllTheScreenThatChangesAndIdleCallsRest) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    Game& g = startAtPageWait(t);
    g.screen.takeDamage();
    EXPECT_FALSE(g.IdleWorkPending());
    g.AppIdle();
    EXPECT_TRUE(g.screen.damage().empty());
    g.Timer1Timer();
    EXPECT_EQ(g.screen.takeDamage(), kMarkerCorner);
    // The click that ends the wait restores the corner and gives the story work again.
    t.player().click(MouseButton::Left, 320, 240);
    EXPECT_TRUE(g.IdleWorkPending());
}

TEST(WaitMarker, GivenNoWaitOrAClosedFrameOrAPendingDelay_WhenTheTimerTicks_ThenNoMarkerIsDrawn) {
    {
        // A plain wait before any text: the frame is closed.
        TestGame t({chunk("main", "*gra A001,0\n〓\n")});
        Game& g = runWithPicture(t, solidBitmap(640, 480, kCornerColour));
        ASSERT_EQ(g.waitKind, WaitKind::Plain);
        ASSERT_FALSE(g.frameOpen);
        g.tickCount = 7;
        g.Timer1Timer();
        expectTriangle(g.screen, 0, 0);
    }
    {
        TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
        Game& g = startAtPageWait(t);
        g.delayTicks = 3;
        g.tickCount = 7;
        g.Timer1Timer();
        EXPECT_EQ(g.delayTicks, 2);
        expectTriangle(g.screen, 0, 0);

        g.delayTicks = 0;
        g.waitKind = WaitKind::None;
        g.tickCount = 7;
        g.Timer1Timer();
        expectTriangle(g.screen, 0, 0);
    }
}

TEST(WaitMarker,
     GivenAMarkerOnTheScreen_WhenTheLeftClickEndsTheWait_ThenTheCornerIsThePictureAgain) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\nB▼\n")});
    Game& g = startAtPageWait(t);
    g.tickCount = 8;
    g.DrawWaitMarker();
    ASSERT_EQ(g.screen.pixel(639, 479), rgb(10, 0, 255));

    t.player().mouseDown(MouseButton::Left, 320, 200);

    EXPECT_EQ(g.waitKind, WaitKind::None);
    expectTriangle(g.screen, 0, 0);
}

TEST(WaitMarker, GivenTheMovableMode_WhenDrawn_ThenTheMarkerIsInTheMainWindowsCorner) {
    TestGame t({chunk("main", "*gra A001,0\nA▼\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = startAtPageWait(t);
    ASSERT_TRUE(g.movableFrame);
    g.tickCount = 7;

    g.Timer1Timer();

    expectTriangle(g.screen, 16, rgb(10, 0, 255));
}

// --- Pictures kept between games ---------------------------------------------------------------

// With a cache, a picture is decoded once: shown again after its file changed, it is the
// picture first read, pixel for pixel; without one, every showing reads the file afresh.
TEST(PictureCache, GivenACache_WhenAPictureIsShownAgain_ThenTheDecodedPictureIsReused) {
    const Bitmap other = solidBitmap(640, 480, 0x204080);
    for (const bool cached : {true, false}) {
        SCOPED_TRACE(cached ? "cached" : "read afresh");
        const auto cache = cached ? std::make_shared<PictureCache>() : nullptr;
        TestGame t({chunk("main", "*gra A001,0\nあ▼\n*gra A001,0\nい▼\n")},
                   GameOptions{.withSound = false, .pictureCache = cache});
        Game& g = runWithPicture(t, patternPicture());
        EXPECT_TRUE(sameBitmap(g.layers.background, patternPicture()));
        writePrs(t.gameDir() / "GRA/A/A001.PRS", other);
        t.player().click(MouseButton::Left, 320, 240);
        t.player().run();
        ASSERT_EQ(t.textLines().size(), 2u);
        EXPECT_TRUE(sameBitmap(g.layers.background, cached ? patternPicture() : other));
    }
}

}  // namespace
}  // namespace corvan::test
