// The `special` command's effects: the window shake, the darkening outside a band of rows, and
// the white flashes, with the host's window moves, repaints and pauses.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "headless/png_writer.h"
#include "render/layers.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

// Red 255, green 128, blue 1 and what halving makes of it: red 127, green 64, blue 0.
constexpr std::uint32_t kBright = rgb(255, 128, 1);
constexpr std::uint32_t kHalved = rgb(127, 64, 0);

bool rowIs(const Bitmap& b, int y, std::uint32_t colour) {
    for (int x = 0; x < b.width(); ++x) {
        if (b.pixel(x, y) != colour) return false;
    }
    return true;
}

// Which rows of the screen are halved, as row ranges "from-to" of the kHalved colour; every
// other row must still be kBright.
std::string darkenedRows(const Bitmap& b) {
    std::string out;
    int start = -1;
    for (int y = 0; y <= b.height(); ++y) {
        const bool dark = y < b.height() && rowIs(b, y, kHalved);
        if (y < b.height() && !dark && !rowIs(b, y, kBright)) {
            return "row " + std::to_string(y) + "?";
        }
        if (dark && start < 0) start = y;
        if (!dark && start >= 0) {
            if (!out.empty()) out += " ";
            out += std::to_string(start) + "-" + std::to_string(y - 1);
            start = -1;
        }
    }
    return out.empty() ? "none" : out;
}

// Writes the bright picture A100 and plays the story until it waits or ends.
Game& bandGame(TestGame& t) {
    writePrs(t.gameDir() / "GRA" / "A" / "A100.PRS", solidBitmap(640, 480, kBright));
    Game& g = t.start();
    t.player().run();
    return g;
}

// A story showing A100, then `special` with this argument, then a line.
std::string bandScript(const std::string& argument) {
    return "*gra A100,0\n*special " + argument + "\n*calc V001=7\n";
}

// The effect alone, on a game whose composite and screen hold the bright colour.
std::string darkenedBy(const std::string& argument) {
    HeadlessHost host;
    Game game(host, {});
    game.layers.composite = solidBitmap(640, 480, kBright);
    game.screen = game.layers.composite;
    game.SpecialEffect(argument);
    return darkenedRows(game.screen);
}

// --- Darkening outside a band ------------------------------------------------------------

TEST(BandDarkening, GivenBand100To380_WhenRun_ThenRowsOutsideAreHalvedToTheExactBytes) {
    TestGame t({chunk("main", bandScript("2,100,380"))});
    Game& g = bandGame(t);

    EXPECT_EQ(darkenedRows(g.screen), "0-99 380-479");
    EXPECT_EQ(g.screen.pixel(5, 99), kHalved);
    EXPECT_EQ(g.screen.pixel(5, 100), kBright);
    EXPECT_EQ(g.screen.pixel(5, 379), kBright);
    EXPECT_EQ(g.screen.pixel(639, 380), kHalved);
    // The composite keeps the darkening; the background stays as loaded.
    EXPECT_EQ(darkenedRows(g.layers.composite), "0-99 380-479");
    EXPECT_EQ(g.layers.background.pixel(5, 5), kBright);
    // The script went on with the next line.
    EXPECT_EQ(g.vars.v(1), 7);
}

TEST(BandDarkening, GivenTheWholeHeightOrNoHeight_WhenRun_ThenNothingOrEverythingIsHalved) {
    EXPECT_EQ(darkenedBy("2,0,480"), "none");
    EXPECT_EQ(darkenedBy("2,0,0"), "0-479");
    EXPECT_EQ(darkenedBy("2,480,480"), "0-479");
    EXPECT_EQ(darkenedBy("2,0,1"), "1-479");
    EXPECT_EQ(darkenedBy("2,479,480"), "0-478");
}

TEST(BandDarkening, GivenANextPicture_WhenShown_ThenTheDarkeningIsGone) {
    TestGame t({chunk("main", bandScript("2,0,0") + "*gra A100,0\n")});
    Game& g = bandGame(t);

    EXPECT_EQ(darkenedRows(g.screen), "none");
}

// Numbers out of range are brought into 0 <= top <= bottom <= 480; a band without its comma
// leaves the picture alone.
TEST(BandDarkening, GivenNumbersOutOfRangeOrNoComma_WhenRun_ThenTheyAreClampedOrIgnored) {
    EXPECT_EQ(darkenedBy("2,-50,600"), "none");
    EXPECT_EQ(darkenedBy("2,100,900"), "0-99");
    EXPECT_EQ(darkenedBy("2,-5,100"), "100-479");
    EXPECT_EQ(darkenedBy("2,600,700"), "0-479");
    EXPECT_EQ(darkenedBy("2,300,100"), "0-479");
    EXPECT_EQ(darkenedBy("2,100"), "none");
    EXPECT_EQ(darkenedBy("2"), "none");
}

TEST(BandDarkening, GivenAPicture_WhenDarkened_ThenTheScreenshotShowsTheBand) {
    TestGame t({chunk("main", "*gra A100,0\n*special 2,100,380\n")});
    writePrs(t.gameDir() / "GRA" / "A" / "A100.PRS", makeBitmap(640, 480, [](int x, int y) {
                 return rgb(x * 255 / 639, y * 255 / 479, ((x / 40 + y / 40) % 2) * 255);
             }));
    Game& g = t.start();
    t.player().run();

    std::string error;
    ASSERT_TRUE(writePng(g.screen, "/tmp/corvan_band_darkening.png", error)) << error;
    EXPECT_EQ(g.screen.pixel(639, 479), rgb(127, 127, 0));
    EXPECT_EQ(g.screen.pixel(639, 379), rgb(255, 379 * 255 / 479, 0));
}

// --- Window shake -------------------------------------------------------------------------

TEST(WindowShake, GivenEffect1_WhenRun_ThenTheWindowMovesUpAndDownTenTimesAndEndsWhereItWas) {
    TestGame t({chunk("main", "*special 1\nafter\n")});
    t.start();
    const WindowPoint home = t.host().mainWindowPosition();
    const std::size_t movesBefore = t.host().mainWindowMoves().size();
    const std::int64_t pausedBefore = t.host().pausedMilliseconds();
    t.player().run();

    const std::vector<WindowPoint>& all = t.host().mainWindowMoves();
    const std::vector<WindowPoint> moves(all.begin() + static_cast<long>(movesBefore), all.end());
    std::vector<WindowPoint> expected;
    for (int i = 0; i < 10; ++i) expected.push_back({home.x, home.y + (i % 2 == 0 ? -20 : 20)});
    expected.push_back(home);
    EXPECT_EQ(moves, expected);
    EXPECT_EQ(t.host().mainWindowPosition(), home);
    EXPECT_EQ(t.host().pausedMilliseconds() - pausedBefore, 500);
    EXPECT_EQ(t.textLines(), Lines{"after"});
}

// --- Flashes ------------------------------------------------------------------------------

// Keeps, in order, what each repaint showed ("white", "picture" or "other") and each pause.
class RecordingHost : public HeadlessHost {
public:
    explicit RecordingHost(const Bitmap& picture) : picture_(picture) {}
    void repaint(const Bitmap& screen) override {
        HeadlessHost::repaint(screen);
        log.push_back(same(screen, picture_) ? "picture" : allWhite(screen) ? "white" : "other");
    }
    void pause(int milliseconds) override {
        HeadlessHost::pause(milliseconds);
        log.push_back("pause " + std::to_string(milliseconds));
    }
    Lines log;

private:
    static bool allWhite(const Bitmap& b) {
        for (int y = 0; y < b.height(); ++y) {
            if (!rowIs(b, y, 0xFFFFFF)) return false;
        }
        return true;
    }
    static bool same(const Bitmap& a, const Bitmap& b) {
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) return false;
            }
        }
        return true;
    }
    const Bitmap& picture_;
};

Bitmap stripes() {
    return makeBitmap(640, 480,
                      [](int x, int y) { return ((x + y) / 8) % 2 ? 0x102030u : 0xF0E0D0u; });
}

TEST(Flashes, GivenEffect3_WhenRun_ThenSevenWhiteFlashesOf20MsEachReturnToThePicture) {
    const Bitmap picture = stripes();
    RecordingHost host(picture);
    Game game(host, {});
    game.screen = picture;

    game.SpecialEffect("3");

    Lines expected;
    for (int i = 0; i < 7; ++i) {
        for (const char* line : {"white", "pause 20", "picture", "pause 20"}) {
            expected.push_back(line);
        }
    }
    EXPECT_EQ(host.log, expected);
    EXPECT_EQ(host.pausedMilliseconds(), 280);
}

TEST(Flashes, GivenEffect4_WhenRun_ThenOneWhiteFlashOf50MsReturnsToThePicture) {
    const Bitmap picture = stripes();
    RecordingHost host(picture);
    Game game(host, {});
    game.screen = picture;

    game.SpecialEffect("4");

    EXPECT_EQ(host.log, (Lines{"white", "pause 50", "picture"}));
    EXPECT_EQ(host.events(), Lines{"special 4"});  // what corvan-replay's log shows of it
}

TEST(Flashes, GivenAFlashInTheStory_WhenRun_ThenTheTextFrameIsStillOnTheScreenAfterIt) {
    TestGame t({chunk("main", "*gra S246,0\nfirst line\n*special 3\n")});
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();

    EXPECT_NE(g.screen.pixel(kFrameLeft + 20, kFrameTop + 20), 0x204060u);
    EXPECT_EQ(g.screen.pixel(5, 5), 0x204060u);
    EXPECT_EQ(t.host().pausedMilliseconds(), 280);
}

// --- Other arguments ----------------------------------------------------------------------

TEST(SpecialEffect, GivenAnUnknownOrEmptyArgument_WhenRun_ThenNothingMovesPausesOrChanges) {
    for (const char* argument : {"5", "", "0", "x2,0,0"}) {
        SCOPED_TRACE(argument);
        const Bitmap picture = stripes();
        RecordingHost host(picture);
        Game game(host, {});
        game.screen = picture;
        game.layers.composite = picture;

        game.SpecialEffect(argument);

        EXPECT_EQ(host.log, Lines{});
        EXPECT_EQ(host.events(), Lines{});
        EXPECT_TRUE(host.mainWindowMoves().empty());
        EXPECT_EQ(game.screen.pixel(3, 3), picture.pixel(3, 3));
    }
}

}  // namespace
}  // namespace corvan::test
