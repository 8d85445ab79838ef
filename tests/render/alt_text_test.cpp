// The alternate text mode of `*mode`: characters drawn into the picture, each in a white 32x32
// box with the black character, on a grid of 14-pixel columns and 40-pixel lines from (32, 20);
// its pacing, its few commands and tags, and how it ends.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/scenario.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;
using Colours = std::set<std::uint32_t>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

Colours coloursIn(const Bitmap& b, Rect r) {
    Colours colours;
    for (const auto& [colour, count] : colourCounts(b, r)) colours.insert(colour);
    return colours;
}

// The character box of text line `line` and column `column`.
Rect cell(int line, int column) {
    return {14 * column + 32, 40 * line + 20, 14 * column + 64, 40 * line + 52};
}

// A box holding a character: only black and white, some of each.
bool isCharacterBox(const Bitmap& b, Rect r) {
    return coloursIn(b, r) == Colours{kBlack, kWhite};
}

bool untouched(const Bitmap& b, Rect r) {
    return coloursIn(b, r) == Colours{kBackground};
}

// Expects a character box in each of `boxes` and only the picture in each of `blank`.
void expectPicture(const Bitmap& b, const std::vector<Rect>& boxes,
                   const std::vector<Rect>& blank) {
    for (const Rect& r : boxes) EXPECT_TRUE(isCharacterBox(b, r)) << r.left << "," << r.top;
    for (const Rect& r : blank) EXPECT_TRUE(untouched(b, r)) << r.left << "," << r.top;
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
    EXPECT_EQ(coloursIn(c, {0, 0, 640, 480}), (Colours{kBlack, kWhite, kBackground}));
    expectPicture(c, {}, {{0, 0, 640, 20}, {0, 52, 640, 480}, {0, 20, 32, 52}, {316, 20, 640, 52}});
    EXPECT_FALSE(g.frameOpen);  // drawn into the picture, not into the message frame
}

// --- Pacing -------------------------------------------------------------------------------------

TEST(AltTextPacing, GivenADelay_WhenACharacterIsDrawn_ThenTheScreenShowsItAndTheStepWaitsAQuarter) {
    for (const auto& [delay, ticks] : {std::pair{"4", 1}, {"10", 2}, {"1", 0}, {"3", 1}}) {
        SCOPED_TRACE(delay);
        TestGame t({chunk("main", altScript(std::string("[delay ") + delay + "]あいう\n"))});
        Game& g = t.start();
        t.step();  // the picture and the mode
        t.step();
        EXPECT_EQ(g.delayTicks, ticks);
        EXPECT_EQ(g.textColumn, 2);
        expectPicture(g.layers.composite, {cell(0, 0)}, {{64, 20, 640, 52}});
        EXPECT_TRUE(sameBitmap(g.screen, g.layers.composite));
    }
}

TEST(AltTextPacing, GivenAWaitTag_WhenReached_ThenTheStepEndsFor20TicksAndTheLineGoesOnAfterIt) {
    TestGame t({chunk("main", altScript("[delay 0]あ[wait 20]い\n"))});
    Game& g = t.start();
    t.step();

    t.step();
    EXPECT_EQ(g.delayTicks, 20);
    expectPicture(g.layers.composite, {cell(0, 0)}, {{64, 20, 640, 52}});

    for (int i = 0; i < 20; ++i) g.Timer1Timer();
    t.step();
    expectPicture(g.layers.composite, {{64, 20, 92, 52}}, {{92, 20, 640, 52}});  // い at column 2
}

TEST(AltTextPacing, GivenTheFastSpeed_WhenALineEndsOrWaits_ThenTheScreenShowsThePicture) {
    TestGame t({chunk("main", altScript("あい\nう▼\nえ\n"))});
    Game& g = startFast(t);
    t.step();

    t.step();
    expectPicture(g.screen, {cell(0, 0), cell(0, 2)}, {});
    EXPECT_EQ(g.delayTicks, 0);

    t.step();
    EXPECT_EQ(g.waitKind, WaitKind::Page);
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
    ASSERT_NE(g.altTextMode, AltTextMode::Off);

    t.step();
    EXPECT_EQ(g.altTextMode, AltTextMode::Off);
    EXPECT_EQ(t.textLines(), Lines{"あ"});

    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"あ", "い"}));
    EXPECT_TRUE(g.frameOpen);
    EXPECT_TRUE(untouched(g.layers.composite, {0, 52, 640, 376}));
}

TEST(AltTextScenes, GivenAScriptInTheMode_WhenRunOut_ThenTextModeFrameAndPictureAreAsExpected) {
    // "A" advances 14 pixels in a 32-pixel box; an empty line leaves 40 pixels free. *end in a
    // called chunk ends the call only; a called chunk running out in the mode takes the mode with
    // it; the main chunk running out stops the story with the mode on; *mode inside the mode ends
    // it whatever its number; commands and tags of the normal mode are passed over ("い" at column
    // 2: the tag takes no room and large text does not apply).
    struct Case {
        std::string main;
        std::string sub;  // a chunk "sub" that main may call or chain to
        Lines lines;
        bool modeOn;  // and the frame open when the mode is off
        std::vector<Rect> boxes;
        std::vector<Rect> blank;
    };
    const std::string caller = "*gra S246,0\n*call sub\nafter\n";
    const Case cases[] = {
        {altScript("Aあ\nA\n"),
         "",
         {"Aあ", "A"},
         true,
         {{32, 20, 78, 52}, cell(1, 0)},
         {{78, 20, 640, 52}, {64, 60, 640, 92}}},
        {altScript("あ\n\nい\n"),
         "",
         {"あ", "い"},
         true,
         {cell(0, 0), cell(2, 0)},
         {{0, 52, 640, 100}}},
        {caller, "*mode 1\nあ\n*end\nhidden\n", {"あ", "after"}, true, {cell(1, 0)}, {}},
        {caller, "*mode 1\nあ\n", {"あ", "after"}, false, {}, {}},
        {altScript("あ\n"), "", {"あ"}, true, {}, {}},
        {altScript("あ\n*mode 5\nい\n"), "", {"あ", "い"}, false, {}, {{0, 52, 640, 376}}},
        {altScript("*chain sub\n*select 2\nあ[4]い\n"),
         "wrong\n",
         {"あ[4]い"},
         true,
         {{32, 20, 92, 52}},
         {{92, 20, 640, 52}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.main + c.sub);
        std::vector<ChunkSource> chunks{chunk("main", c.main)};
        if (!c.sub.empty()) chunks.push_back(chunk("sub", c.sub));
        TestGame t(chunks);
        Game& g = startFast(t);
        t.player().run();
        EXPECT_EQ(t.textLines(), c.lines);
        EXPECT_EQ(g.altTextMode != AltTextMode::Off, c.modeOn);
        EXPECT_EQ(g.frameOpen, !c.modeOn);
        EXPECT_FALSE(g.inCall);
        EXPECT_FALSE(g.scriptRunning);
        if (c.main != caller) {
            EXPECT_EQ(g.lastChunk, "main");  // *chain is passed over
        }
        EXPECT_EQ(g.menuKind, MenuKind::None);
        expectPicture(g.layers.composite, c.boxes, c.blank);
    }
    EXPECT_EQ(cell(2, 0).top, 100);
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
    expectPicture(g.layers.composite, {cell(0, 0)}, {{0, 52, 640, 480}});
}

TEST(AltTextCommands, GivenAPageOrPlainWait_WhenClicked_ThenAFreshPageOrTheSameOneGoesOn) {
    // A page wait drops the rest of its line; a plain wait keeps the text beside the next line.
    TestGame t({chunk("main", altScript("あ▼い\nう\n"))});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_TRUE(untouched(g.layers.composite, {64, 20, 640, 52}));
    EXPECT_TRUE(isCharacterBox(g.screen, cell(0, 0)));
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    expectPicture(g.layers.composite, {cell(0, 0)}, {{0, 52, 640, 480}});
    EXPECT_EQ(t.textLines(), (Lines{"あ▼い", "う"}));

    TestGame plain({chunk("main", altScript("あ〓\nう\n"))});
    Game& p = startFast(plain);
    plain.player().run();
    ASSERT_EQ(p.waitKind, WaitKind::Plain);
    plain.player().click(MouseButton::Left, 320, 240);
    plain.player().run();
    expectPicture(p.layers.composite, {{32, 20, 92, 52}}, {{92, 20, 640, 480}});
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
    t.addSoundFiles({"MIDI/07.MID", "wave/1/10001.wav"});
    startFast(t);
    t.player().run();
    EXPECT_EQ(t.events("music "), Lines{"7"});
    EXPECT_EQ(t.events("voice "), Lines{"10001"});
}

}  // namespace
}  // namespace corvan::test
