// Pictures: the picture argument, the files of the GRA folder, the marks of shown pictures, what
// each kind of picture does to the layers and which transition shows it, and how missing or
// damaged files leave everything as it was.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "render/bmp.h"
#include "render/picture_argument.h"
#include "render/prs.h"
#include "render/raster.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

constexpr std::uint32_t kRed = rgb(255, 0, 0);
constexpr std::uint32_t kBlue = rgb(0, 0, 255);
constexpr std::uint32_t kMagenta = rgb(255, 0, 255);

bool isSolid(const Bitmap& b, std::uint32_t colour) {
    return sameBitmap(b, solidBitmap(b.width(), b.height(), colour));
}

// The transition numbers of the "transition N frames M" log lines.
std::vector<int> transitions(const TestGame& t) {
    std::vector<int> numbers;
    for (const std::string& line : t.events("transition ")) numbers.push_back(std::stoi(line));
    return numbers;
}

// Ends a plain wait and runs on to the next wait or the end.
void clickAndRun(TestGame& t) {
    t.player().click(MouseButton::Left, 320, 200);
    t.player().run();
}

// A small overlay: a white square on a magenta ground.
Bitmap squareOverlay() {
    return makeBitmap(100, 100, [](int x, int y) {
        return x >= 25 && x < 75 && y >= 25 && y < 75 ? 0xFFFFFFu : kMagenta;
    });
}

// --- The argument --------------------------------------------------------------------------

TEST(PictureArgument, GivenNoComma_ThenTheTransitionIs1) {
    const PictureArgument p = parsePictureArgument("A531");
    EXPECT_EQ(p.name, "A531");
    EXPECT_EQ(p.kind, 'A');
    EXPECT_EQ(p.number, 531);
    EXPECT_EQ(p.transition, 1);
}

TEST(PictureArgument, GivenACommaAndANumber_ThenTheNumberIsTheTransition) {
    EXPECT_EQ(parsePictureArgument("A531,13").transition, 13);
    EXPECT_EQ(parsePictureArgument("A531,13").name, "A531");
    EXPECT_EQ(parsePictureArgument("A531, 7").transition, 7);
}

TEST(PictureArgument, GivenACommaWithoutDigits_ThenTheTransitionIs0) {
    EXPECT_EQ(parsePictureArgument("A531,x").transition, 0);
    EXPECT_EQ(parsePictureArgument("A531,").transition, 0);
}

TEST(PictureArgument, GivenTheTagForm_ThenTheNameEndsAtTheBracketOrTheComma) {
    const PictureArgument plain = parsePictureArgument("B12]");
    EXPECT_EQ(plain.name, "B12");
    EXPECT_EQ(plain.kind, 'B');
    EXPECT_EQ(plain.number, 12);
    EXPECT_EQ(plain.transition, 1);

    const PictureArgument withComma = parsePictureArgument("b12,3]");
    EXPECT_EQ(withComma.name, "b12");
    EXPECT_EQ(withComma.kind, 'B');
    EXPECT_EQ(withComma.transition, 3);
}

TEST(PictureArgument, GivenAnEightCharacterName_ThenTheNinthIsNeverLookedAtAndTheTransitionStays1) {
    const PictureArgument p = parsePictureArgument("A1234567,5");
    EXPECT_EQ(p.name, "A1234567");
    EXPECT_EQ(p.number, 1234567);
    EXPECT_EQ(p.transition, 1);

    EXPECT_EQ(parsePictureArgument("A12345678").name, "A1234567");
}

TEST(PictureArgument, GivenASeparatorFirst_ThenTheFirstCharacterStillBelongsToTheName) {
    const PictureArgument comma = parsePictureArgument(",5");
    EXPECT_EQ(comma.name, ",5");
    EXPECT_EQ(comma.transition, 1);
    EXPECT_EQ(parsePictureArgument("]").name, "]");
    EXPECT_EQ(parsePictureArgument("").name, "");
}

TEST(PictureArgument, GivenLowerCaseKinds_ThenTheKindIsFoldedAndTheFileNamesFollowTheKind) {
    EXPECT_EQ(parsePictureArgument("s000").kind, 'S');
    EXPECT_EQ(parsePictureArgument("Q12").kind, 'Q');
    EXPECT_EQ(picturePath(parsePictureArgument("a12")), "GRA/A/A12.PRS");
    EXPECT_EQ(picturePath(parsePictureArgument("a511")), "GRA/A/A511.PRS");
    EXPECT_EQ(picturePath(parsePictureArgument("b12")), "GRA/B/b12.PRS");
    EXPECT_EQ(picturePath(parsePictureArgument("B12]")), "GRA/B/B12.PRS");
}

TEST(SolidColour, GivenThreeHexDigits_ThenTheyGiveBlueGreenAndRedTimes16) {
    EXPECT_EQ(solidColour("SF80"), rgb(0, 128, 240));
    EXPECT_EQ(solidColour("S000"), rgb(0, 0, 0));
    EXPECT_EQ(solidColour("SFFF"), rgb(240, 240, 240));
    EXPECT_EQ(solidColour("sf00"), rgb(0, 0, 240));
    EXPECT_EQ(solidColour("S00a"), rgb(160, 0, 0));
}

TEST(SolidColour, GivenCharactersThatAreNoHexDigits_ThenEachCountsAs0) {
    EXPECT_EQ(solidColour("SG1Z"), rgb(0, 16, 0));
    EXPECT_EQ(solidColour("S-F "), rgb(0, 240, 0));
    EXPECT_EQ(solidColour("S1"), rgb(0, 0, 16));
}

// --- Transitions chosen by the argument ----------------------------------------------------

TEST(ShowPicture, GivenEachArgumentForm_WhenShown_ThenTheLogNamesTheTransitionItChose) {
    TestGame t({chunk("main",
                      "*gra A531\n*gra A531,13\n*gra A531,x\n[gra B12]\n[gra B12,3]\n"
                      "*gra A1234567,5\n")});
    writePrs(t.gameDir() / "GRA/A/A531.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B12.PRS", squareOverlay());
    writePrs(t.gameDir() / "GRA/A/A1234567.PRS", solidBitmap(640, 480, kBlue));
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(transitions(t), (std::vector<int>{1, 13, 0, 1, 3, 1}));
    EXPECT_TRUE(isSolid(g.screen, kBlue));
}

// --- Solid fills ---------------------------------------------------------------------------

TEST(ShowPicture, GivenAnSName_WhenShown_ThenTheWholeScreenHasItsColour) {
    TestGame t({chunk("main", "*gra SF80\n〓\n*gra S000\n〓\n*gra sfff\n〓\n*gra SG1Z,0\n〓\n")});
    Game& g = t.start();

    t.player().run();
    EXPECT_TRUE(isSolid(g.screen, rgb(0, 128, 240)));  // blue 240, green 128, red 0
    EXPECT_TRUE(isSolid(g.layers.background, rgb(0, 128, 240)));
    clickAndRun(t);
    EXPECT_TRUE(isSolid(g.screen, rgb(0, 0, 0)));
    clickAndRun(t);
    EXPECT_TRUE(isSolid(g.screen, rgb(240, 240, 240)));
    clickAndRun(t);
    EXPECT_TRUE(isSolid(g.screen, rgb(0, 16, 0)));
}

TEST(ShowPicture, GivenASmallBackground_WhenAnSFillFollows_ThenTheBackgroundIsAFullScreenAgain) {
    TestGame t({chunk("main", "*gra A002,0\n*gra S00F,0\n")});
    writePrs(t.gameDir() / "GRA/A/A002.PRS", solidBitmap(320, 240, kBlue));
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(g.layers.background.width(), 640);
    EXPECT_EQ(g.layers.background.height(), 480);
    EXPECT_TRUE(isSolid(g.screen, rgb(240, 0, 0)));
}

// --- Files ---------------------------------------------------------------------------------

TEST(ShowPicture, GivenALowerCaseA_WhenShown_ThenTheFileWithACapitalAIsOpened) {
    TestGame t({chunk("main", "*gra a12,0\n")});
    writePrs(t.gameDir() / "GRA/A/A12.PRS", solidBitmap(640, 480, kRed));
    Game& g = t.start();

    t.player().run();

    EXPECT_TRUE(isSolid(g.screen, kRed));
}

TEST(ShowPicture, GivenALowerCaseB_WhenShown_ThenTheFileNamedAsWrittenIsOpened) {
    TestGame t({chunk("main", "*gra S000,0\n*gra b12,0\n")});
    writePrs(t.gameDir() / "GRA/B/b12.PRS", squareOverlay());
    Game& g = t.start();

    t.player().run();

    EXPECT_TRUE(g.overlayShown);
    EXPECT_EQ(g.screen.pixel(50, 50), 0xFFFFFFu);
    EXPECT_EQ(g.screen.pixel(10, 10), 0x000000u);
}

TEST(ShowPicture, GivenFilesStoredInAnotherLetterCase_WhenShown_ThenTheyAreFound) {
    TestGame t({chunk("main", "*gra A12,0\n*gra B7,0\n")});
    writePrs(t.gameDir() / "gra/a/a12.prs", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "gra/b/b7.Prs", squareOverlay());
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(transitions(t), (std::vector<int>{0, 0}));
    EXPECT_EQ(g.screen.pixel(10, 10), kRed);
    EXPECT_EQ(g.screen.pixel(50, 50), 0xFFFFFFu);
}

// --- Marks ---------------------------------------------------------------------------------

TEST(PictureMarks, GivenNumbersOutside0To255_WhenShown_ThenNoMarkIsSet) {
    TestGame t({chunk("main", "*gra A531,0\n*gra B256,0\n*gra A-1,0\n")});
    writePrs(t.gameDir() / "GRA/A/A531.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B256.PRS", squareOverlay());
    Game& g = t.start();

    t.player().run();

    ASSERT_EQ(transitions(t).size(), 2u);  // both existing pictures were shown
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(g.aMarks[i], 0) << "A mark " << i;
        EXPECT_EQ(g.bMarks[i], 0) << "B mark " << i;
    }
}

TEST(PictureMarks, GivenMissingFiles_WhenShown_ThenTheirMarksAreSetAllTheSame) {
    TestGame t({chunk("main", "*gra A12\n*gra b255\n*gra B0\n")});
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(g.aMarks[12], 1);
    EXPECT_EQ(g.bMarks[255], 1);
    EXPECT_EQ(g.bMarks[0], 1);
    EXPECT_EQ(g.aMarks[0], 0);
    EXPECT_EQ(g.bMarks[12], 0);
    EXPECT_TRUE(transitions(t).empty());
}

TEST(PictureMarks, GivenAnSFill_WhenShown_ThenNoMarkIsSet) {
    TestGame t({chunk("main", "*gra S012\n")});
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(g.aMarks[12], 0);
    EXPECT_EQ(g.bMarks[12], 0);
}

// --- Missing files and other kinds ---------------------------------------------------------

TEST(ShowPicture,
     GivenAMissingFile_WhenShown_ThenNothingChangesAndNoTransitionRunsButTheWindowRepaints) {
    TestGame t({chunk("main", "*grb B002\n*gra A001,0\n")});
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", squareOverlay());
    Game& g = t.start();
    t.player().run();
    const Bitmap background = g.layers.background;
    const Bitmap overlay = g.layers.overlay;
    const Bitmap composite = g.layers.composite;
    const Bitmap screen = g.screen;
    const std::size_t shown = transitions(t).size();

    for (const char* argument : {"A099,0", "B099,0", "a77", "Q001", ""}) {
        const std::int64_t repaints = t.host().repaints();
        g.ShowPicture(argument);
        EXPECT_EQ(t.host().repaints(), repaints + 1) << argument;
    }

    EXPECT_EQ(transitions(t).size(), shown);
    EXPECT_TRUE(sameBitmap(g.layers.background, background));
    EXPECT_TRUE(sameBitmap(g.layers.overlay, overlay));
    EXPECT_TRUE(sameBitmap(g.layers.composite, composite));
    EXPECT_TRUE(sameBitmap(g.screen, screen));
    EXPECT_TRUE(g.overlayShown);
    EXPECT_FALSE(g.overlayDeferred);
}

TEST(ShowPicture,
     GivenADeferredOverlay_WhenTheNextBackgroundIsMissing_ThenTheOverlayStaysDeferred) {
    TestGame t({chunk("main", "*grb B002\n*gra A099\n〓\n*gra A001,0\n")});
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", squareOverlay());
    Game& g = t.start();

    t.player().run();
    EXPECT_TRUE(g.overlayDeferred);
    EXPECT_TRUE(transitions(t).empty());
    clickAndRun(t);

    EXPECT_EQ(transitions(t), std::vector<int>{0});
    EXPECT_FALSE(g.overlayDeferred);
    EXPECT_EQ(g.screen.pixel(50, 50), 0xFFFFFFu);
    EXPECT_EQ(g.screen.pixel(10, 10), kRed);
}

// --- Backgrounds and overlays --------------------------------------------------------------

TEST(
    ShowPicture,
    GivenGrbThenABackground_WhenShown_ThenOneTransitionShowsBothAndTheNextBackgroundDropsTheOverlay) {
    TestGame t({chunk("main", "*grb B002,4\n〓\n*gra A005,6\n〓\n*gra A006,0\n〓\n")});
    writePrs(t.gameDir() / "GRA/A/A005.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/A/A006.PRS", solidBitmap(640, 480, kBlue));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", squareOverlay());
    Game& g = t.start();

    t.player().run();  // the overlay is loaded silently
    EXPECT_TRUE(transitions(t).empty());
    EXPECT_TRUE(isSolid(g.screen, 0x000000));
    EXPECT_TRUE(g.overlayShown);
    EXPECT_TRUE(g.overlayDeferred);
    EXPECT_EQ(g.bMarks[2], 1);

    clickAndRun(t);
    EXPECT_EQ(transitions(t), std::vector<int>{6});
    EXPECT_EQ(g.screen.pixel(50, 50), 0xFFFFFFu);
    EXPECT_EQ(g.screen.pixel(10, 10), kRed);
    EXPECT_EQ(g.screen.pixel(320, 240), kRed);
    EXPECT_FALSE(g.overlayDeferred);

    clickAndRun(t);
    EXPECT_EQ(transitions(t), (std::vector<int>{6, 0}));
    EXPECT_TRUE(isSolid(g.screen, kBlue));
    EXPECT_FALSE(g.overlayShown);
}

TEST(ShowPicture, GivenAnOverlayWithoutGrb_WhenShown_ThenItAppearsAtOnceWithItsOwnTransition) {
    TestGame t({chunk("main", "*gra A005,0\n*gra B002,7\n")});
    writePrs(t.gameDir() / "GRA/A/A005.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", squareOverlay());
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(transitions(t), (std::vector<int>{0, 7}));
    EXPECT_TRUE(g.overlayShown);
    EXPECT_FALSE(g.overlayDeferred);
    EXPECT_EQ(g.screen.pixel(50, 50), 0xFFFFFFu);
    EXPECT_EQ(g.screen.pixel(10, 10), kRed);
    EXPECT_EQ(g.screen.pixel(150, 150), kRed);
    EXPECT_EQ(g.layers.overlayImage.key, kMagenta);
}

// Snapshots share the overlay's pixels while it stays the same; putting one back must still give
// each its own overlay, whichever was loaded in between, and in another game too.
TEST(ShowPicture, GivenSnapshotsAcrossOverlays_WhenRestored_ThenEachGetsTheOverlayItWasTakenWith) {
    const std::vector<ChunkSource> chunks = {
        chunk("main", "*gra B002,0\n〓\n*gra B003,0\n〓\n*gra B004,0\n〓\n")};
    const auto overlayOf = [](const Game& g) { return g.layers.overlayImage.image.pixel(50, 50); };
    TestGame t(chunks);
    writePrs(t.gameDir() / "GRA/B/B002.PRS", solidBitmap(100, 100, kRed));
    writePrs(t.gameDir() / "GRA/B/B003.PRS", solidBitmap(100, 100, kBlue));
    writePrs(t.gameDir() / "GRA/B/B004.PRS", solidBitmap(100, 100, 0x00FF00));
    Game& g = t.start();

    t.player().run();
    const GameSnapshot red = g.TakeSnapshot();
    const GameSnapshot redAgain = g.TakeSnapshot();
    clickAndRun(t);
    const GameSnapshot blue = g.TakeSnapshot();
    g.RestoreSnapshot(red);
    EXPECT_EQ(overlayOf(g), kRed);
    clickAndRun(t);  // B003 again, loaded afresh on this branch
    clickAndRun(t);  // B004
    EXPECT_EQ(overlayOf(g), 0x00FF00u);
    g.RestoreSnapshot(blue);
    EXPECT_EQ(overlayOf(g), kBlue);
    g.RestoreSnapshot(redAgain);
    EXPECT_EQ(overlayOf(g), kRed);

    TestGame other(chunks);
    writePrs(other.gameDir() / "GRA/B/B002.PRS", solidBitmap(100, 100, kBlue));
    Game& h = other.start();
    other.player().run();  // its own first overlay, blue
    h.RestoreSnapshot(red);
    EXPECT_EQ(overlayOf(h), kRed);
}

TEST(ShowPicture, GivenASmallerBackground_WhenShown_ThenItCoversOnlyTheTopLeftOfTheOldPicture) {
    TestGame t({chunk("main", "*gra A001,0\n*gra A002,0\n")});
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/A/A002.PRS", solidBitmap(320, 240, kBlue));
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(g.layers.background.width(), 320);
    EXPECT_EQ(g.layers.background.height(), 240);
    EXPECT_EQ(g.screen.pixel(0, 0), kBlue);
    EXPECT_EQ(g.screen.pixel(319, 239), kBlue);
    EXPECT_EQ(g.screen.pixel(320, 0), kRed);
    EXPECT_EQ(g.screen.pixel(0, 240), kRed);
    EXPECT_EQ(g.screen.pixel(639, 479), kRed);
}

// --- Damaged files -------------------------------------------------------------------------

struct LayerState {
    Bitmap background;
    Bitmap overlay;
    Bitmap overlayImage;
    std::uint32_t key = 0;
    bool present = false;
    Bitmap composite;
    Bitmap screen;
    bool overlayShown = false;
    bool overlayDeferred = false;

    explicit LayerState(const Game& g)
        : background(g.layers.background),
          overlay(g.layers.overlay),
          overlayImage(g.layers.overlayImage.image),
          key(g.layers.overlayImage.key),
          present(g.layers.overlayImage.present),
          composite(g.layers.composite),
          screen(g.screen),
          overlayShown(g.overlayShown),
          overlayDeferred(g.overlayDeferred) {}

    void expectUnchanged(const Game& g, const std::string& what) const {
        EXPECT_TRUE(sameBitmap(g.layers.background, background)) << what;
        EXPECT_TRUE(sameBitmap(g.layers.overlay, overlay)) << what;
        EXPECT_TRUE(sameBitmap(g.layers.overlayImage.image, overlayImage)) << what;
        EXPECT_EQ(g.layers.overlayImage.key, key) << what;
        EXPECT_EQ(g.layers.overlayImage.present, present) << what;
        EXPECT_TRUE(sameBitmap(g.layers.composite, composite)) << what;
        EXPECT_TRUE(sameBitmap(g.screen, screen)) << what;
        EXPECT_EQ(g.overlayShown, overlayShown) << what;
        EXPECT_EQ(g.overlayDeferred, overlayDeferred) << what;
    }
};

std::vector<std::uint8_t> truncatedPrs() {
    std::vector<std::uint8_t> bytes = encodePrsBytes(writeBmp(
        makeBitmap(640, 480, [](int x, int y) { return rgb(x % 256, y % 256, (x ^ y) % 256); })));
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// A true BMP of 700x500 pixels: 1,050,054 bytes, more than the 1 MiB a picture may decode to.
std::vector<std::uint8_t> oversizedPrs() {
    return encodePrsBytes(writeBmp(solidBitmap(700, 500, kBlue)));
}

std::vector<std::uint8_t> notABmpPrs() {
    std::string text;
    while (text.size() < 5000) text += "This is no picture at all. ";
    return encodePrsBytes(std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(DamagedPicture,
     GivenDamagedFiles_WhenShown_ThenTheLayersStayExactlyAsTheyWereAndTheLogSaysSo) {
    TestGame t({chunk("main", "*gra A001,0\n*gra B002,0\n")});
    writePrs(t.gameDir() / "GRA/A/A001.PRS", solidBitmap(640, 480, kRed));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", squareOverlay());
    writeBytes(t.gameDir() / "GRA/A/A010.PRS", truncatedPrs());
    writeBytes(t.gameDir() / "GRA/B/B010.PRS", truncatedPrs());
    writeBytes(t.gameDir() / "GRA/A/A011.PRS", oversizedPrs());
    writeBytes(t.gameDir() / "GRA/B/B011.PRS", oversizedPrs());
    writeBytes(t.gameDir() / "GRA/A/A012.PRS", notABmpPrs());
    writeBytes(t.gameDir() / "GRA/B/B012.PRS", notABmpPrs());
    writeBytes(t.gameDir() / "GRA/A/A013.PRS", {});
    Game& g = t.start();
    t.player().run();
    ASSERT_EQ(transitions(t).size(), 2u);
    const LayerState before(g);

    const std::vector<std::string> names = {"A010", "B010", "A011", "B011", "A012", "B012", "A013"};
    for (const std::string& name : names) {
        const std::size_t errors = t.events("picture-error ").size();
        g.ShowPicture(name + ",0");
        before.expectUnchanged(g, name);
        const auto lines = t.events("picture-error ");
        ASSERT_EQ(lines.size(), errors + 1) << name;
        EXPECT_NE(lines.back().find(name), std::string::npos) << lines.back();
    }
    EXPECT_EQ(transitions(t).size(), 2u);
}

}  // namespace
}  // namespace corvan::test
