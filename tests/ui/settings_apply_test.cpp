// Applying the stored settings to the running game: the sound flags, the text speed, the
// transition speed factor, and the frame mode switched both ways with a bare backdrop.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/layers.h"
#include "render/resources.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246

const Bitmap& textBg() {
    static const Bitmap bitmap = loadResource("TEXT_BG");
    return bitmap;
}

// A page of text on the solid picture at the fast speed, left at its ▼.
Game& playPage(TestGame& t) {
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    return g;
}

const char* const kPage = "*gra S246,0\nabc▼\nnext\n";

// --- Through the system menu -------------------------------------------------------------------

TEST(ApplySettings, GivenTheDialogChangesEveryGroup_WhenItCloses_ThenTheGameRunsWithThemAtOnce) {
    TestGame t({chunk("main", "*gra S246,0\nab▼\n*music 3\n*voice 123\n*gra S642,1\ncd▼\n")},
               GameOptions{.withSound = true});
    t.addMenuVoices();
    Game& g = t.start();
    t.player().run();
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    t.player().click(MouseButton::Right, 600, 300);
    t.host().queueDialogSetting(std::string(setting::kBgm), "1");
    t.host().queueDialogSetting(std::string(setting::kWave), "1");
    t.host().queueDialogSetting(std::string(setting::kDelay), "1");
    t.host().queueDialogSetting(std::string(setting::kGMode), "2");

    t.player().click(MouseButton::Left, 100, 30);
    ASSERT_EQ(t.events("dialog"), Lines{" settings"});
    t.player().click(MouseButton::Left, 320, 240);  // ends the page wait
    t.step();

    EXPECT_TRUE(t.events("music").empty());
    EXPECT_EQ(t.events("voice "), Lines{"90023"});  // the click on the row, before the dialog
    EXPECT_EQ(t.events("transition 1 "), Lines{"frames 1"});  // a plain cut
    // The whole line in one step: the fast speed.
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(t.host().readSetting(setting::kDelay), "1");
}

TEST(ApplySettings, GivenTheDialogClosedWithoutChanges_WhenApplied_ThenTheSettingsStayAsTheyWere) {
    TestGame t({chunk("main", kPage)});
    Game& g = playPage(t);
    t.player().click(MouseButton::Right, 600, 300);

    t.player().click(MouseButton::Left, 100, 30);

    EXPECT_FALSE(g.settings.charByChar);
    EXPECT_TRUE(g.settings.musicOn);
    EXPECT_EQ(g.settings.speedFactor, 1);
    EXPECT_FALSE(t.host().textWindowShown());
}

// --- Single values ----------------------------------------------------------------------------

TEST(ApplySettings, GivenGModeStoredAsHexText0x2_WhenApplied_ThenTheSpeedFactorIs3) {
    TestGame t({chunk("main", kPage + std::string("*gra S642,3\nend\n"))});
    Game& g = playPage(t);

    t.player().setSetting(std::string(setting::kGMode), "0x2");

    EXPECT_EQ(g.settings.speedFactor, 3);
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    EXPECT_EQ(t.events("transition 3 "), Lines{"frames 1"});  // a plain cut
}

TEST(ApplySettings, GivenGModeOne_WhenApplied_ThenTransitionsStillRunFrames) {
    TestGame t({chunk("main", kPage + std::string("*gra S642,3\nend\n"))});
    Game& g = playPage(t);

    t.player().setSetting(std::string(setting::kGMode), "1");

    EXPECT_EQ(g.settings.speedFactor, 2);
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    const Lines frames = t.events("transition 3 ");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_NE(frames[0], "frames 1");
}

TEST(ApplySettings, GivenMusicPlaying_WhenBgmIsSwitchedOff_ThenItIsNotStoppedButNoNewTrackStarts) {
    TestGame t({chunk("main", "*music 3\nab▼\n*music 5\ncd▼\n*music 7\nef\n")},
               GameOptions{.withSound = true});
    t.addSoundFiles({"MIDI/03.MID", "MIDI/05.MID", "MIDI/07.MID"});
    playPage(t);
    ASSERT_EQ(t.events("music"), Lines{" 3"});

    t.player().setSetting(std::string(setting::kBgm), "1");
    EXPECT_EQ(t.events("music"), Lines{" 3"});
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    EXPECT_EQ(t.events("music"), Lines{" 3"});

    t.player().setSetting(std::string(setting::kBgm), "0");
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    EXPECT_EQ(t.events("music"), (Lines{" 3", " 7"}));
}

TEST(ApplySettings, GivenWaveSwitchedOff_WhenAVoiceIsAsked_ThenNothingPlays) {
    TestGame t({chunk("main", "ab▼\n*voice 10001\ncd\n")}, GameOptions{.withSound = true});
    playPage(t);

    t.player().setSetting(std::string(setting::kWave), "1");
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();

    EXPECT_EQ(t.textLines(), (Lines{"ab▼", "cd"}));
    EXPECT_TRUE(t.events("voice").empty());
}

TEST(ApplySettings,
     GivenDelaySwitchedToNormal_WhenTheNextLineRuns_ThenItShowsCharacterByCharacter) {
    TestGame t({chunk("main", kPage)});
    Game& g = playPage(t);

    t.player().setSetting(std::string(setting::kDelay), "0");
    t.player().click(MouseButton::Left, 320, 240);
    t.step();

    EXPECT_TRUE(g.settings.charByChar);
    EXPECT_EQ(g.textColumn, 1);
    EXPECT_FALSE(g.fetchLine);
}

TEST(ApplySettings, GivenTheFrameModeUnchanged_WhenApplied_ThenNothingIsRedrawn) {
    TestGame t({chunk("main", kPage)});
    Game& g = playPage(t);
    g.screen.row(400)[3 * 300] ^= 0xFF;
    const Bitmap before = g.screen;
    const Bitmap frame = g.layers.textFrame;

    t.player().setSetting(std::string(setting::kBgm), "1");

    EXPECT_TRUE(sameBitmap(g.screen, before));
    EXPECT_TRUE(sameBitmap(g.layers.textFrame, frame));
    EXPECT_FALSE(t.host().textWindowShown());
}

// --- Frame mode -------------------------------------------------------------------------------

TEST(FrameModeSwitch,
     GivenTheFixedFrameWithText_WhenSwitchedToMovable_ThenTheWindowShowsTheBareBackdrop) {
    TestGame t({chunk("main", kPage)});
    Game& g = playPage(t);
    ASSERT_FALSE(t.host().textWindowShown());
    ASSERT_FALSE(sameBitmap(g.layers.textFrame, textBg()));

    t.player().setSetting(std::string(setting::kTextWind), "1");

    EXPECT_TRUE(g.movableFrame);
    EXPECT_TRUE(t.host().textWindowShown());
    EXPECT_TRUE(sameBitmap(t.host().textWindow(), textBg()));
    EXPECT_EQ(g.frameFontColour, 0xFFFFFFu);
}

TEST(FrameModeSwitch,
     GivenTheMovableFrame_WhenSwitchedToFixed_ThenTheWindowHidesAndAFreshFrameShowsOnTheScreen) {
    TestGame t({chunk("main", kPage)});
    t.host().writeSetting(setting::kTextWind, "1");
    Game& g = playPage(t);
    ASSERT_TRUE(t.host().textWindowShown());
    ASSERT_EQ(g.screen.pixel(100, 460), kBackground);  // no frame on the picture

    t.player().setSetting(std::string(setting::kTextWind), "0");

    EXPECT_FALSE(g.movableFrame);
    EXPECT_FALSE(t.host().textWindowShown());
    const Bitmap& s = g.screen;
    // The border is the backdrop's own.
    for (int x = 0; x < kFrameWidth; x += 5) {
        EXPECT_EQ(s.pixel(kFrameLeft + x, kFrameTop), textBg().pixel(x, 0)) << x;
        EXPECT_EQ(s.pixel(kFrameLeft + x, kFrameTop + 95), textBg().pixel(x, 95)) << x;
    }
    // The inside is made from the picture: half its red and green, blue lifted, fading upwards;
    // each row is one colour, so no text is in it.
    EXPECT_EQ(s.pixel(38, 465), 0x902030u);
    for (int y = 382; y < 466; ++y) {
        for (int x = 38; x < 602; ++x) {
            ASSERT_EQ(s.pixel(x, y), s.pixel(38, y)) << x << "," << y;
        }
    }
    EXPECT_LT(s.pixel(38, 382) >> 16, 0x90u);
    EXPECT_EQ(s.pixel(38, 382) & 0xFFFF, 0x2030u);
}

TEST(FrameModeSwitch,
     GivenTheDialog_WhenTextWindIsSwitchedOnThenOff_ThenTheWindowFollowsEachChange) {
    TestGame t({chunk("main", kPage)});
    Game& g = playPage(t);
    t.host().queueDialogSetting(std::string(setting::kTextWind), "1");
    t.player().click(MouseButton::Right, 600, 300);
    t.player().click(MouseButton::Left, 100, 30);
    ASSERT_TRUE(t.host().textWindowShown());
    EXPECT_TRUE(g.movableFrame);

    t.host().queueDialogSetting(std::string(setting::kTextWind), "0");
    t.player().click(MouseButton::Right, 600, 300);
    t.player().click(MouseButton::Left, 100, 30);

    EXPECT_FALSE(t.host().textWindowShown());
    EXPECT_FALSE(g.movableFrame);
    EXPECT_EQ(g.screen.pixel(38, 465), 0x902030u);
}

TEST(FrameModeSwitch,
     GivenABorderlessMainWindow_WhenTextWindIsSwitchedOn_ThenItIsStoredButTheFrameStaysFixed) {
    TestGame t({chunk("main", kPage)});
    t.host().setScreenSize({640, 480});
    Game& g = playPage(t);
    const Bitmap before = g.screen;

    t.player().setSetting(std::string(setting::kTextWind), "1");

    EXPECT_EQ(t.host().readSetting(setting::kTextWind), "1");
    EXPECT_FALSE(g.movableFrame);
    EXPECT_FALSE(t.host().textWindowShown());
    EXPECT_TRUE(sameBitmap(g.screen, before));

    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    EXPECT_FALSE(t.host().textWindowShown());
    ASSERT_EQ(t.textLines().back(), "next");
    // The next page is on the picture.
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            ASSERT_EQ(g.screen.pixel(kFrameLeft + x, kFrameTop + y),
                      g.layers.textFrame.pixel(x, y));
        }
    }
}

}  // namespace
}  // namespace corvan::test
