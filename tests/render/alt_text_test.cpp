// The alternate text mode of `*mode`: characters drawn into the picture, each in a white 32x32
// box with the black character, on a grid of 14-pixel columns and 40-pixel lines from (32, 20);
// its pacing, its few commands and tags, and how it ends.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/scenario.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

struct Ink {
    int black = 0;
    int white = 0;
    int background = 0;
    int other = 0;
};

Ink inkIn(const Bitmap& b, Rect r) {
    Ink ink;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t c = b.pixel(x, y);
            if (c == kBlack) {
                ++ink.black;
            } else if (c == kWhite) {
                ++ink.white;
            } else if (c == kBackground) {
                ++ink.background;
            } else {
                ++ink.other;
            }
        }
    }
    return ink;
}

// The character box of text line `line` and column `column`.
Rect cell(int line, int column) {
    return {14 * column + 32, 40 * line + 20, 14 * column + 64, 40 * line + 52};
}

// A box holding a character: only black and white, some of each.
bool isCharacterBox(const Bitmap& b, Rect r) {
    const Ink ink = inkIn(b, r);
    return ink.black > 0 && ink.white > 0 && ink.background == 0 && ink.other == 0;
}

bool untouched(const Bitmap& b, Rect r) {
    const Ink ink = inkIn(b, r);
    return ink.background == r.width() * r.height();
}

std::string altScript(const std::string& body) {
    return "*gra S246,0\n*mode 1\n" + body;
}

// --- The grid -----------------------------------------------------------------------------------

TEST(AltTextGrid, GivenTenFullWidthCharacters_WhenDrawn_ThenTheyLie28PixelsApartOnLineZero) {
    TestGame t({chunk("main", altScript("[col 2]あいうえおかきくけこ\n"))});
    Game& g = t.start();
    t.player().run();

    const Bitmap& c = g.layers.composite;
    for (int k = 0; k < 10; ++k) {
        // What the next box leaves visible of this one; the last is seen whole.
        const Rect box = cell(0, 2 * k);
        const Rect visible{box.left, box.top, k < 9 ? box.left + 28 : box.right, box.bottom};
        EXPECT_TRUE(isCharacterBox(c, visible)) << k;
        EXPECT_EQ(box.left, 32 + 28 * k);
    }
    // The text colour of the col tag never shows.
    EXPECT_EQ(inkIn(c, {0, 0, 640, 480}).other, 0);
    EXPECT_TRUE(untouched(c, {0, 0, 640, 20}));
    EXPECT_TRUE(untouched(c, {0, 52, 640, 480}));
    EXPECT_TRUE(untouched(c, {0, 20, 32, 52}));
    EXPECT_TRUE(untouched(c, {316, 20, 640, 52}));
    // Drawn into the picture, not into the message frame.
    EXPECT_FALSE(g.frameOpen);
}

TEST(AltTextGrid, GivenAOneByteCharacter_WhenDrawn_ThenItAdvances14PixelsInA32PixelBox) {
    TestGame t({chunk("main", altScript("Aあ\nA\n"))});
    Game& g = t.start();
    t.player().run();

    const Bitmap& c = g.layers.composite;
    // Line 0: the box of "A" from 32, the box of "あ" from 46 to 77.
    EXPECT_TRUE(isCharacterBox(c, {32, 20, 78, 52}));
    EXPECT_TRUE(untouched(c, {78, 20, 640, 52}));
    // Line 1: "A" alone still fills a 32-pixel box.
    EXPECT_TRUE(isCharacterBox(c, cell(1, 0)));
    EXPECT_TRUE(untouched(c, {64, 60, 640, 92}));
}

TEST(AltTextGrid, GivenAnEmptyLineBetweenTwoTextLines_WhenDrawn_ThenOneLineOf40PixelsStaysFree) {
    TestGame t({chunk("main", altScript("あ\n\nい\n"))});
    Game& g = t.start();
    t.player().run();

    const Bitmap& c = g.layers.composite;
    EXPECT_TRUE(isCharacterBox(c, cell(0, 0)));
    EXPECT_TRUE(untouched(c, {0, 52, 640, 100}));
    EXPECT_TRUE(isCharacterBox(c, cell(2, 0)));
    EXPECT_EQ(cell(2, 0).top, 100);
}

// --- Pacing -------------------------------------------------------------------------------------

TEST(AltTextPacing, GivenADelay_WhenACharacterIsDrawn_ThenTheScreenShowsItAndTheStepWaitsAQuarter) {
    struct Case {
        const char* delay;
        std::int32_t ticks;
    };
    for (const Case& c : {Case{"4", 1}, Case{"10", 2}, Case{"1", 0}, Case{"3", 1}}) {
        TestGame t({chunk("main", altScript(std::string("[delay ") + c.delay + "]あいう\n"))});
        Game& g = t.start();
        t.step();  // the picture and the mode

        t.step();

        SCOPED_TRACE(c.delay);
        EXPECT_EQ(g.delayTicks, c.ticks);
        EXPECT_EQ(g.textColumn, 2);
        EXPECT_TRUE(isCharacterBox(g.layers.composite, cell(0, 0)));
        EXPECT_TRUE(untouched(g.layers.composite, {64, 20, 640, 52}));
        EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));
    }
}

TEST(AltTextPacing, GivenAWaitTag_WhenReached_ThenTheStepEndsFor20TicksAndTheLineGoesOnAfterIt) {
    TestGame t({chunk("main", altScript("[delay 0]あ[wait 20]い\n"))});
    Game& g = t.start();
    t.step();

    t.step();
    EXPECT_EQ(g.delayTicks, 20);
    EXPECT_TRUE(isCharacterBox(g.layers.composite, cell(0, 0)));
    EXPECT_TRUE(untouched(g.layers.composite, {64, 20, 640, 52}));

    for (int i = 0; i < 20; ++i) g.Timer1Timer();
    t.step();
    EXPECT_TRUE(isCharacterBox(g.layers.composite, {64, 20, 92, 52}));  // い at column 2
    EXPECT_TRUE(untouched(g.layers.composite, {92, 20, 640, 52}));
}

TEST(AltTextPacing, GivenTheFastSpeed_WhenALineEndsOrWaits_ThenTheScreenShowsThePicture) {
    TestGame t({chunk("main", altScript("あい\nう▼\nえ\n"))});
    Game& g = startFast(t);
    t.step();

    t.step();
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 0)));
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 2)));
    EXPECT_EQ(g.delayTicks, 0);

    t.step();
    EXPECT_EQ(g.waitKind, 1);
    EXPECT_TRUE(isCharacterBox(g.screen, cell(1, 0)));
    EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));
}

TEST(AltTextPacing, GivenDelayZeroAtNormalSpeed_WhenALineIsDrawn_ThenItAllShowsInOneStep) {
    TestGame t({chunk("main", altScript("[delay 0]あいう\nえ\n"))});
    Game& g = t.start();
    t.step();

    t.step();

    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 4)));
    EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));
}

// --- Commands and tags --------------------------------------------------------------------------

TEST(AltTextCommands, GivenEndOutsideACall_WhenReached_ThenTheModeEndsAndTextGoesToTheFrame) {
    TestGame t({chunk("main", altScript("あ\n*end\nい\n"))});
    Game& g = startFast(t);
    t.step();
    t.step();
    ASSERT_NE(g.altTextMode, 0);

    t.step();
    EXPECT_EQ(g.altTextMode, 0);
    EXPECT_EQ(t.textLines(), Lines{"あ"});

    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"あ", "い"}));
    EXPECT_TRUE(g.frameOpen);
    EXPECT_TRUE(untouched(g.layers.composite, {0, 52, 640, 376}));
}

TEST(AltTextCommands, GivenEndInACalledChunk_WhenReached_ThenTheCallerGoesOnInTheMode) {
    TestGame t({chunk("main", "*gra S246,0\n*call sub\nafter\n"),
                chunk("sub", "*mode 1\nあ\n*end\nhidden\n")});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_EQ(t.textLines(), (Lines{"あ", "after"}));
    EXPECT_FALSE(g.inCall);
    EXPECT_NE(g.altTextMode, 0);
    EXPECT_FALSE(g.frameOpen);
    EXPECT_TRUE(isCharacterBox(g.layers.composite, cell(1, 0)));
}

TEST(AltTextCommands, GivenACalledChunkEndingInTheMode_WhenItRunsOut_ThenTheCallerGoesOnWithoutIt) {
    TestGame t({chunk("main", "*gra S246,0\n*call sub\nafter\n"), chunk("sub", "*mode 1\nあ\n")});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_EQ(t.textLines(), (Lines{"あ", "after"}));
    EXPECT_EQ(g.altTextMode, 0);
    EXPECT_TRUE(g.frameOpen);
}

TEST(AltTextCommands,
     GivenTheMainChunkEndingInTheMode_WhenItRunsOut_ThenTheStoryStopsWithTheModeOn) {
    TestGame t({chunk("main", altScript("あ\n"))});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_FALSE(g.scriptRunning);
    EXPECT_NE(g.altTextMode, 0);
}

TEST(AltTextCommands, GivenModeInsideTheMode_WhenReached_ThenTheModeEndsWhateverItsNumber) {
    TestGame t({chunk("main", altScript("あ\n*mode 5\nい\n"))});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_EQ(g.altTextMode, 0);
    EXPECT_EQ(t.textLines(), (Lines{"あ", "い"}));
    EXPECT_TRUE(g.frameOpen);
    EXPECT_TRUE(untouched(g.layers.composite, {0, 52, 640, 376}));
}

TEST(AltTextCommands, GivenANewPageMark_WhenReached_ThenThePictureIsRedrawnAndTheCursorGoesHome) {
    TestGame t({chunk("main", altScript("あ\nい▽\nう\n"))});
    Game& g = startFast(t);
    t.step();
    t.step();
    ASSERT_TRUE(isCharacterBox(g.layers.composite, cell(0, 0)));

    t.step();
    EXPECT_TRUE(sameBitmap(g.layers.composite, g.layers.background));
    EXPECT_EQ(g.textLine, 0);
    EXPECT_EQ(g.textColumn, 0);

    t.step();
    EXPECT_TRUE(isCharacterBox(g.layers.composite, cell(0, 0)));
    EXPECT_TRUE(untouched(g.layers.composite, {0, 52, 640, 480}));
}

TEST(AltTextCommands,
     GivenAPageWait_WhenReached_ThenTheRestOfTheLineIsDroppedAndAClickStartsAFreshPage) {
    TestGame t({chunk("main", altScript("あ▼い\nう\n"))});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, 1);
    EXPECT_TRUE(untouched(g.layers.composite, {64, 20, 640, 52}));
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 0)));

    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();

    EXPECT_TRUE(isCharacterBox(g.layers.composite, cell(0, 0)));
    EXPECT_TRUE(untouched(g.layers.composite, {0, 52, 640, 480}));
    EXPECT_EQ(t.textLines(), (Lines{"あ▼い", "う"}));
}

TEST(AltTextCommands, GivenAPlainWait_WhenClicked_ThenTheTextStaysAndTheNextLineGoesOnBesideIt) {
    TestGame t({chunk("main", altScript("あ〓\nう\n"))});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, 2);

    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();

    EXPECT_TRUE(isCharacterBox(g.layers.composite, {32, 20, 92, 52}));
    EXPECT_TRUE(untouched(g.layers.composite, {92, 20, 640, 480}));
}

TEST(AltTextCommands, GivenGraInTheMode_WhenReached_ThenThePictureIsShown) {
    TestGame t({chunk("main", "*mode 1\n*gra S246,0\nあ\n")});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_EQ(t.events("transition 0 "), Lines{"frames 1"});
    EXPECT_EQ(g.layers.background.pixel(600, 400), kBackground);
    EXPECT_EQ(g.screen.pixel(600, 400), kBackground);
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 0)));
}

TEST(AltTextCommands, GivenMusicAndVoiceInTheMode_WhenReached_ThenTheyPlay) {
    TestGame t({chunk("main", altScript("*music 7\nあ[voice 10001]い\n"))},
               GameOptions{.withSound = true});
    startFast(t);

    t.player().run();

    EXPECT_EQ(t.events("music "), Lines{"7"});
    EXPECT_EQ(t.events("voice "), Lines{"10001"});
}

TEST(AltTextCommands, GivenCommandsAndTagsOfTheNormalMode_WhenReached_ThenTheyArePassedOver) {
    TestGame t({chunk("main", altScript("*chain other\n*select 2\nあ[4]い\n")),
                chunk("other", "wrong\n")});
    Game& g = startFast(t);

    t.player().run();

    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(g.menuKind, 0);
    EXPECT_EQ(t.textLines(), Lines{"あ[4]い"});
    // "い" at column 2: the skipped tag takes no room and large text does not apply.
    EXPECT_TRUE(isCharacterBox(g.layers.composite, {32, 20, 92, 52}));
    EXPECT_TRUE(untouched(g.layers.composite, {92, 20, 640, 52}));
}

}  // namespace
}  // namespace corvan::test
