// The `view` screens: two picture galleries and the scene replay menu, with small pictures whose
// colours tell them apart.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "headless/png_writer.h"
#include "render/raster.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

// Every picture here is the colour blue 0x40, green and red its number.
constexpr std::uint32_t pictureColour(int number) {
    return 0x400000u | static_cast<std::uint32_t>(number);
}

std::string pictureName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "A%03d", number);
    return name;
}

void writePicture(TestGame& t, int number) {
    writePrs(t.gameDir() / "GRA" / "A" / (pictureName(number) + ".PRS"),
             solidBitmap(8, 8, pictureColour(number)));
}

// The pages, the scene menu and every gallery picture.
void writeAllPictures(TestGame& t) {
    for (int n : {511, 512, 513, 514, 515, 611, 612, 613, 614, 615, 531}) writePicture(t, n);
    for (int n = 200; n <= 236; ++n) writePicture(t, n);
    for (int n = 1; n <= 118; ++n) writePicture(t, n);
}

// The picture on the screen, told by its colour: "A205", or "-" for none of them.
std::string shown(const Game& g) {
    const std::uint32_t c = g.screen.pixel(1, 1);
    if ((c & 0xFF0000) != 0x400000) return "-";
    return pictureName(static_cast<int>(c & 0xFFFF));
}

// The number of the last transition run, or -1.
int lastTransition(const TestGame& t) {
    const Lines e = t.events("transition ");
    return e.empty() ? -1 : std::stoi(e.back());
}

std::string lastChunk(const TestGame& t) {
    const Lines e = t.events("chunk ");
    return e.empty() ? "" : e.back();
}

struct Point {
    int x, y;
};

// A hit area as given, bounds exclusive.
struct Box {
    int left, top, right, bottom;
    Point centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    // Points on the four edges: each lies outside.
    std::array<Point, 4> edges() const {
        const Point c = centre();
        return {{{left, c.y}, {right, c.y}, {c.x, top}, {c.x, bottom}}};
    }
    // The innermost points at two opposite corners: each lies inside.
    std::array<Point, 2> innerCorners() const {
        return {{{left + 1, top + 1}, {right - 1, bottom - 1}}};
    }
};

constexpr Box kClose{512, 14, 604, 44};
constexpr Box kPrevious{490, 436, 546, 470};
constexpr Box kNext{552, 436, 606, 470};
constexpr Box kSceneClose{512, 16, 604, 54};

Box gallery1Item(int item) {
    const int i = item - 1;
    const int left = 80 + 130 * (i % 4);
    const int top = 90 + 182 * (i / 4);
    return {left, top, left + 130, top + 132};
}

Box gallery2Item(int item) {
    const int i = item - 1;
    const int left = 16 + 156 * (i % 4);
    const int top = 72 + 116 * (i / 4);
    return {left, top, left + 145, top + 112};
}

Box sceneCell(int cell) {
    const int i = cell - 1;
    const int left = 29 + 195 * (i % 3);
    const int top = 71 + 44 * (i / 3);
    return {left, top, left + 188, top + 40};
}

constexpr std::array<std::array<int, 8>, 5> kGallery1{{
    {200, 201, 202, 203, 204, 205, 205, 206},
    {207, 208, 209, 210, 211, 212, 213, 214},
    {215, 216, 217, 217, 218, 219, 220, 221},
    {222, 223, 224, 225, 226, 227, 228, 229},
    {230, 231, 232, 233, 236, 235, 235, 234},
}};

constexpr std::array<std::array<int, 12>, 5> kGallery2{{
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 14, 17},
    {22, 24, 25, 26, 28, 29, 30, 31, 33, 34, 35, 36},
    {37, 38, 39, 40, 41, 43, 44, 45, 46, 47, 48, 50},
    {51, 52, 53, 54, 56, 58, 59, 60, 61, 62, 63, 64},
    {65, 66, 67, 118, 18, 68, 57, 72, 0, 0, 0, 0},
}};

struct Scene {
    int cell;
    const char* chunk;
};
constexpr std::array<Scene, 25> kScenes{{
    {1, "H2_B_A"},  {2, "H2_k_A"},  {3, "H2_D_A"},  {4, "H2_M_A"},  {5, "H2_F_A"},
    {6, "H2_G_A"},  {7, "H2_A_A"},  {8, "H2_L_A"},  {9, "H2_E_A"},  {10, "H2_H_A"},
    {11, "H2_O_A"}, {12, "H2_J_A"}, {13, "H2_N_A"}, {16, "H2_c_M"}, {17, "H2_A_M"},
    {18, "H2_J_m"}, {19, "H2_H_M"}, {20, "H2_E_M"}, {21, "H2_g_m"}, {22, "H2_K_M"},
    {23, "H2_D_M"}, {24, "H2_M_m"}, {25, "H2_F_M"}, {26, "H2_P_M"}, {27, "H2_N_m"},
}};

// A story that opens `view kind` on a black screen and has one line after it.
std::string viewScript(int kind) {
    return "*gra S000,0\n*view " + std::to_string(kind) + "\nafter the view\n";
}

// Every scene sets V1 to its cell and ends.
std::vector<ChunkSource> sceneChunks(const std::string& mainScript, bool withFirstScene = true) {
    std::vector<ChunkSource> chunks{chunk("main", mainScript)};
    for (const Scene& s : kScenes) {
        if (!withFirstScene && s.cell == 1) continue;
        char calc[32];
        std::snprintf(calc, sizeof calc, "*calc V001=%d\n*end\n", s.cell);
        chunks.push_back(chunk(s.chunk, calc));
    }
    return chunks;
}

Game& openView(TestGame& t) {
    writeAllPictures(t);
    Game& g = t.start();
    t.player().run();
    return g;
}

void click(TestGame& t, Point p) {
    t.player().click(MouseButton::Left, p.x, p.y);
}

TEST(ViewOpen, GivenView1To3_WhenRunAndClosed_ThenItsPageShowsTheStoryWaitsThenGoesOnAfterIt) {
    struct Case {
        int kind;
        const char* page;
        int transition;
        Box close;
    };
    for (const Case& c : {Case{1, "A511", 12, kClose}, Case{2, "A611", 12, kClose},
                          Case{3, "A531", 13, kSceneClose}}) {
        SCOPED_TRACE(c.kind);
        TestGame t(sceneChunks(viewScript(c.kind)));
        Game& g = openView(t);
        EXPECT_EQ(shown(g), c.page);
        EXPECT_EQ(lastTransition(t), c.transition);
        EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
        EXPECT_EQ(g.viewKind, c.kind);
        t.player().run();
        EXPECT_EQ(t.textLines(), Lines{});
        click(t, c.close.centre());
        EXPECT_EQ(g.viewFlag, ViewFlag::Story);
        EXPECT_EQ(g.viewKind, 0);
        EXPECT_EQ(shown(g), c.page);  // the page stays
        t.player().run();
        EXPECT_EQ(t.textLines(), Lines{"after the view"});
    }
}

TEST(ViewOpen, GivenAnotherNumber_WhenOpened_ThenNothingShowsAndOnlyTheButtonsOfGallery2Work) {
    TestGame t({chunk("main", viewScript(7))});
    Game& g = openView(t);
    ASSERT_EQ(shown(g), "-");
    ASSERT_EQ(g.viewFlag, ViewFlag::ViewShown);
    click(t, gallery1Item(1).centre());
    click(t, gallery2Item(1).centre());
    EXPECT_EQ(shown(g), "-");
    EXPECT_EQ(g.viewState.opened, 0);
    click(t, kPrevious.centre());
    EXPECT_EQ(shown(g), "A615");
    click(t, kNext.centre());
    EXPECT_EQ(shown(g), "A611");
    click(t, kClose.centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    t.player().run();
    EXPECT_EQ(t.textLines(), Lines{"after the view"});
}

TEST(ViewButtons,
     GivenEachGallery_WhenButtonsAreClicked_ThenPagesWrapWithEffect1AndOnlyInsideTheEdgesCount) {
    for (int kind : {1, 2}) {
        SCOPED_TRACE(kind);
        const int page = kind == 1 ? 510 : 610;
        TestGame t({chunk("main", viewScript(kind))});
        Game& g = openView(t);
        for (const Box& button : {kClose, kPrevious, kNext}) {
            for (Point p : button.edges()) {
                click(t, p);
                EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown) << p.x << "," << p.y;
                EXPECT_EQ(shown(g), pictureName(page + 1)) << p.x << "," << p.y;
            }
        }
        for (Point p : kNext.innerCorners()) click(t, p);
        EXPECT_EQ(shown(g), pictureName(page + 3));
        for (Point p : kPrevious.innerCorners()) click(t, p);
        EXPECT_EQ(shown(g), pictureName(page + 1));
        std::vector<int> pages;
        for (const Box& button : {kPrevious, kPrevious, kPrevious, kPrevious, kPrevious, kPrevious,
                                  kNext, kNext, kNext, kNext, kNext, kNext}) {
            click(t, button.centre());
            EXPECT_EQ(lastTransition(t), 1);
            EXPECT_EQ(shown(g), pictureName(page + g.viewState.page));
            pages.push_back(g.viewState.page);
        }
        EXPECT_EQ(pages, (std::vector<int>{5, 4, 3, 2, 1, 5, 1, 2, 3, 4, 5, 1}));
        click(t, kClose.innerCorners()[1]);
        EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    }
}

TEST(ViewPages, GivenAPageTurnedTo_WhenTheViewRunsAgain_ThenItStartsOnPage1) {
    TestGame t({chunk("main", "*gra S000,0\n*view 1\n*view 1\n")});
    Game& g = openView(t);
    click(t, kNext.centre());
    click(t, kNext.centre());
    click(t, kClose.centre());
    t.player().run();
    EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
    EXPECT_EQ(g.viewState.page, 1);
    EXPECT_EQ(shown(g), "A511");
}

TEST(ViewInput, GivenAGallery_WhenAnyButtonIsPressed_ThenItActsAndTheLatchHoldsTillRelease) {
    TestGame t({chunk("main", viewScript(1))});
    Game& g = openView(t);
    t.player().mouseDown(MouseButton::Right, kNext.centre().x, kNext.centre().y);
    EXPECT_EQ(shown(g), "A512");
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_TRUE(g.inputLatch);
    t.player().mouseDown(MouseButton::Left, kNext.centre().x, kNext.centre().y);
    EXPECT_EQ(shown(g), "A512");
    t.player().mouseUp(MouseButton::Right, kNext.centre().x, kNext.centre().y);
    t.player().mouseDown(MouseButton::Middle, kNext.centre().x, kNext.centre().y);
    EXPECT_EQ(shown(g), "A513");
}

TEST(GalleryItems, GivenPage1_WhenAnItemsEdgeIsClicked_ThenNothingOpensButJustInsideItDoes) {
    for (int kind : {1, 2}) {
        SCOPED_TRACE(kind);
        TestGame t({chunk("main", viewScript(kind))});
        Game& g = openView(t);
        if (kind == 2) g.aMarks.fill(1);
        const std::string page = kind == 1 ? "A511" : "A611";
        for (int item = 1; item <= (kind == 1 ? 8 : 12); ++item) {
            const Box box = kind == 1 ? gallery1Item(item) : gallery2Item(item);
            const int picture = kind == 1 ? kGallery1[0][item - 1] : kGallery2[0][item - 1];
            for (Point p : box.edges()) {
                click(t, p);
                EXPECT_EQ(shown(g), page) << "item " << item << " at " << p.x << "," << p.y;
            }
            for (Point p : box.innerCorners()) {
                click(t, p);
                EXPECT_EQ(shown(g), pictureName(picture)) << "item " << item << " at " << p.x;
                click(t, {300, 300});
            }
        }
    }
}

TEST(Gallery1, GivenEveryPage_WhenEachItemIsClicked_ThenItsPictureOpensAndAClickGoesBack) {
    TestGame t({chunk("main", viewScript(1))});
    Game& g = openView(t);
    for (int page = 1; page <= 5; ++page) {
        for (int item = 1; item <= 8; ++item) {
            SCOPED_TRACE(std::to_string(page) + "/" + std::to_string(item));
            click(t, gallery1Item(item).centre());
            EXPECT_EQ(shown(g), pictureName(kGallery1[page - 1][item - 1]));
            EXPECT_EQ(lastTransition(t), 1);
            EXPECT_EQ(g.viewState.opened, 1);
            click(t, {300, 300});
            EXPECT_EQ(shown(g), pictureName(510 + page));
            EXPECT_EQ(lastTransition(t), 1);
            EXPECT_EQ(g.viewState.opened, 0);
        }
        click(t, kNext.centre());
    }
}

TEST(Gallery1, GivenAnOpenedPicture_WhenTheCloseButtonIsClicked_ThenOnlyThePageComesBack) {
    TestGame t({chunk("main", viewScript(1))});
    Game& g = openView(t);
    click(t, kNext.centre());
    click(t, kNext.centre());
    click(t, gallery1Item(1).centre());
    ASSERT_EQ(shown(g), "A215");
    click(t, kClose.centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
    EXPECT_EQ(shown(g), "A513");
    click(t, gallery1Item(2).centre());
    click(t, kNext.centre());
    EXPECT_EQ(shown(g), "A513");
    EXPECT_EQ(g.viewState.page, 3);
}

TEST(Gallery2, GivenEveryPictureSeen_WhenEachItemIsClicked_ThenItsPictureOpensOrNoneOn9To12) {
    TestGame t({chunk("main", viewScript(2))});
    Game& g = openView(t);
    g.aMarks.fill(1);
    for (int page = 1; page <= 5; ++page) {
        const int items = page == 5 ? 8 : 12;
        for (int item = 1; item <= items; ++item) {
            SCOPED_TRACE(std::to_string(page) + "/" + std::to_string(item));
            click(t, gallery2Item(item).centre());
            EXPECT_EQ(shown(g), pictureName(kGallery2[page - 1][item - 1]));
            EXPECT_EQ(g.viewState.opened, 1);
            click(t, {300, 300});
            EXPECT_EQ(shown(g), pictureName(610 + page));
        }
        for (int item = items + 1; item <= 12; ++item) {  // the last page's empty places
            click(t, gallery2Item(item).centre());
            EXPECT_EQ(shown(g), "A615") << item;
            EXPECT_EQ(g.viewState.opened, 0) << item;
        }
        click(t, kNext.centre());
    }
}

TEST(Gallery2, GivenOnlyOnePictureShownByTheStory_WhenItemsAreClicked_ThenOnlyThatOneOpens) {
    TestGame t({chunk("main", "*gra A005,0\n*gra S000,0\n*view 2\n")});
    Game& g = openView(t);
    click(t, gallery2Item(4).centre());
    EXPECT_EQ(shown(g), "A611");
    EXPECT_EQ(g.viewState.opened, 0);
    click(t, gallery2Item(5).centre());
    EXPECT_EQ(shown(g), "A005");
}

TEST(Gallery2, GivenMark118Only_WhenTheLastPageIsShown_ThenA118OpensButA018DoesNot) {
    TestGame t({chunk("main", viewScript(2))});
    Game& g = openView(t);
    g.aMarks[118] = 1;
    click(t, kPrevious.centre());
    click(t, gallery2Item(5).centre());
    EXPECT_EQ(shown(g), "A615");
    click(t, gallery2Item(4).centre());
    EXPECT_EQ(shown(g), "A118");
}

// A page picture drawn where the hit areas expect its thumbnails and buttons.
TEST(Gallery2, GivenADrawnPagePicture_WhenShown_ThenTheScreenshotHasItsThumbnailsAndButtons) {
    TestGame t({chunk("main", viewScript(2))});
    const std::array<Box, 3> buttons{kClose, kPrevious, kNext};
    const Bitmap page = makeBitmap(640, 480, [&](int x, int y) -> std::uint32_t {
        for (const Box& b : buttons) {
            if (x > b.left && x < b.right && y > b.top && y < b.bottom) return rgb(200, 60, 60);
        }
        for (int item = 1; item <= 12; ++item) {
            const Box b = gallery2Item(item);
            if (x > b.left && x < b.right && y > b.top && y < b.bottom) {
                return rgb(40 + 16 * item, 120 + 8 * item, 220 - 10 * item);
            }
        }
        return rgb(20, 20, 60);
    });
    writePrs(t.gameDir() / "GRA" / "A" / "A611.PRS", page);
    Game& g = t.start();
    t.player().run();
    std::string error;
    ASSERT_TRUE(writePng(g.screen, "/tmp/corvan_gallery_page.png", error)) << error;
    EXPECT_EQ(g.screen.pixel(gallery2Item(7).centre().x, gallery2Item(7).centre().y),
              rgb(40 + 16 * 7, 120 + 8 * 7, 220 - 10 * 7));
    EXPECT_EQ(g.screen.pixel(kClose.centre().x, kClose.centre().y), rgb(200, 60, 60));
}

TEST(SceneReplay, GivenAnUnlockedScene_WhenItEnds_ThenTheMenuReturnsAndClosingResumesTheStory) {
    TestGame t(sceneChunks("*calc E001=1\n*gra S000,0\n*view 3\nafter the view\n"));
    Game& g = openView(t);
    click(t, sceneCell(1).centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    EXPECT_TRUE(g.inCall);
    EXPECT_EQ(lastChunk(t), "H2_B_A");
    t.player().run();
    EXPECT_EQ(g.vars.v(1), 1);
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
    EXPECT_EQ(shown(g), "A531");
    EXPECT_EQ(lastTransition(t), 1);
    EXPECT_EQ(t.textLines(), Lines{});
    click(t, kSceneClose.centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    EXPECT_EQ(g.viewKind, 0);
    t.player().run();
    EXPECT_EQ(t.textLines(), Lines{"after the view"});
}

TEST(SceneReplay, GivenCells14And15AnEOf0OrTheCloseEdges_WhenClicked_ThenNothingHappens) {
    TestGame t(sceneChunks(viewScript(3)));
    Game& g = openView(t);
    g.vars.setE(14, 1);
    g.vars.setE(15, 1);
    const std::size_t chunksBefore = t.events("chunk ").size();
    for (int cell : {14, 15, 1, 27}) {
        click(t, sceneCell(cell).centre());
        EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown) << cell;
    }
    // Nor do the close button's edges and the galleries' page buttons.
    for (Point p : kSceneClose.edges()) {
        click(t, p);
        EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown) << p.x << "," << p.y;
    }
    click(t, kPrevious.centre());
    click(t, kNext.centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
    EXPECT_EQ(lastTransition(t), 13);
    EXPECT_EQ(t.events("chunk ").size(), chunksBefore);
    g.vars.setE(27, -1);
    click(t, sceneCell(27).centre());
    EXPECT_EQ(lastChunk(t), "H2_N_m");
    t.player().run();
    click(t, {550, 50});  // lower than the galleries' close button reaches
    EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    EXPECT_EQ(g.viewKind, 0);
}

TEST(SceneReplay,
     GivenEveryCellUnlocked_WhenACellsEdgeIsClicked_ThenNothingStartsButInsideItsSceneRuns) {
    TestGame t(sceneChunks(viewScript(3)));
    Game& g = openView(t);
    for (int cell = 1; cell <= 27; ++cell) g.vars.setE(cell, 1);
    for (const Scene& s : kScenes) {
        const Box box = sceneCell(s.cell);
        for (Point p : box.edges()) {
            click(t, p);
            EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown) << s.chunk << " at " << p.x << "," << p.y;
        }
        for (Point p : box.innerCorners()) {
            SCOPED_TRACE(std::string(s.chunk) + " at " + std::to_string(p.x));
            g.vars.setV(1, 0);
            click(t, p);
            EXPECT_EQ(lastChunk(t), s.chunk);
            t.player().run();
            EXPECT_EQ(g.vars.v(1), s.cell);
            EXPECT_EQ(g.viewFlag, ViewFlag::ViewShown);
        }
    }
}

TEST(SceneReplay, GivenAMissingSceneChunk_WhenItsCellIsClicked_ThenTheStoryGoesOnUnderTheMenu) {
    TestGame t(sceneChunks(viewScript(3), false));
    Game& g = openView(t);
    g.vars.setE(1, 1);
    click(t, sceneCell(1).centre());
    EXPECT_EQ(g.viewFlag, ViewFlag::Story);
    EXPECT_FALSE(g.inCall);
    t.player().run();
    EXPECT_EQ(t.textLines(), Lines{"after the view"});
    EXPECT_EQ(shown(g), "A531");
}

}  // namespace
}  // namespace corvan::test
