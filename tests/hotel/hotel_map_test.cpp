// The hotel map mode that `move` opens: the menu with its money window, the floor map with its
// plates and marker, their click bands, V60 and V61, the chunk each place starts, and the way back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "headless/png_writer.h"
#include "render/raster.h"
#include "render/resources.h"
#include "settings/setting_names.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0x204060;  // the solid picture S246
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0x0000FF;

// Points on the menu's plates and on the map's cells.
constexpr int kMenuX = 80;
constexpr int kMoveY = 50;
constexpr int kCollectY = 130;
constexpr int kLoadY = 210;
constexpr int kSaveY = 290;

struct Cell {
    int x;
    int y;
};
// The middle of the plate of floor f (1 to 10), of the basement and of the right column's rest.
Cell floorCell(int f) {
    return {(f - 1) / 5 * 120 + 100, (4 - (f - 1) % 5) * 80 + 70};
}
constexpr Cell kBasement{340, 390};
constexpr Cell kElevator{340, 310};
constexpr Cell kLounge{340, 230};
constexpr Cell kLowerRoom{340, 150};
constexpr Cell kUpperRoom{340, 70};

// Every place's chunk shows its own name as a line of text, then opens the hotel menu again.
std::vector<ChunkSource> hotelChunks(const std::vector<std::string>& without = {}) {
    std::vector<ChunkSource> chunks{chunk("main", "*gra S246,0\n*move\n")};
    for (const char* name :
         {"IVE", "KAI", "ERE", "KYU", "DEN", "ROB", "POO", "BAR", "RST", "GYM", "SAVE", "LOAD"}) {
        if (std::find(without.begin(), without.end(), name) != without.end()) continue;
        chunks.push_back(chunk(name, std::string("*gra S246,0\n") + name + "\n*move\n"));
    }
    return chunks;
}

// Starts the game on floor `floor` with `collected` in V50 and plays up to the hotel menu.
Game& openMenu(TestGame& t, std::int32_t floor = 1, std::int32_t collected = 0) {
    t.addMenuVoices();
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    g.vars.setV(50, collected);
    g.vars.setV(60, floor);
    t.player().run();
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    return g;
}

std::string lastChunk(const TestGame& t) {
    const Lines e = t.events("chunk ");
    return e.empty() ? "" : e.back();
}

// One game kept in the hotel, so that a whole table of checks runs on one game: each check
// first goes back to the menu from wherever the last click left the game.
class Hotel {
public:
    explicit Hotel(const std::vector<std::string>& without = {})
        : t_(hotelChunks(without)), g_(openMenu(t_)) {}

    TestGame& t() { return t_; }
    Game& g() { return g_; }

    // The menu, shown afresh for these values of V60 and V50.
    void menu(std::int32_t floor, std::int32_t collected = 0) {
        backToMenu();
        g_.vars.setV(60, floor);
        g_.vars.setV(50, collected);
        t_.player().click(MouseButton::Left, kMenuX, kMoveY);
        t_.player().click(MouseButton::Right, 500, 450);
        EXPECT_EQ(g_.menuKind, MenuKind::Hotel);
    }

    // The map of floor `floor`.
    void map(std::int32_t floor) {
        backToMenu();
        g_.vars.setV(60, floor);
        t_.player().click(MouseButton::Left, kMenuX, kMoveY);
        EXPECT_EQ(g_.menuKind, MenuKind::FloorMap);
    }

private:
    void backToMenu() {
        if (g_.menuKind == MenuKind::FloorMap) t_.player().click(MouseButton::Right, 500, 450);
        if (g_.menuKind == MenuKind::Slots) t_.player().click(MouseButton::Left, 60, 34);  // cancel
        if (g_.menuKind == MenuKind::None) t_.player().run();  // the started chunk's own `move`
        EXPECT_EQ(g_.menuKind, MenuKind::Hotel);
    }

    TestGame t_;
    Game& g_;
};

bool sameArea(const Bitmap& a, int ax, int ay, const Bitmap& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (a.pixel(ax + x, ay + y) != b.pixel(bx + x, by + y)) return false;
        }
    }
    return true;
}

bool solidArea(const Bitmap& b, Rect r, std::uint32_t colour) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (b.pixel(x, y) != colour) return false;
        }
    }
    return true;
}

// The label's pixels on the plate at (px, py): those that differ from the bare plate.
struct LabelInk {
    std::vector<Cell> white;
    std::vector<Cell> black;
    int other = 0;
};

LabelInk labelInk(const Bitmap& screen, int px, int py) {
    const Bitmap plate = loadResource("PLATE");
    LabelInk ink;
    for (int y = 0; y < plate.height(); ++y) {
        for (int x = 0; x < plate.width(); ++x) {
            const std::uint32_t c = screen.pixel(px + x, py + y);
            if (c == plate.pixel(x, y)) continue;
            if (c == kWhite) {
                ink.white.push_back({x, y});
            } else if (c == kBlack) {
                ink.black.push_back({x, y});
            } else {
                ++ink.other;
            }
        }
    }
    return ink;
}

bool plateAt(const Bitmap& screen, int px, int py) {
    return !labelInk(screen, px, py).white.empty() && labelInk(screen, px, py).other == 0;
}

// --- The hotel menu ----------------------------------------------------------------------------

TEST(HotelMenuScreen, GivenMove_WhenItRuns_ThenShadowedPlatesAndMoneyShowTillAClickOrRightClick) {
    TestGame t(hotelChunks());
    Game& g = openMenu(t);
    EXPECT_EQ(t.events("voice "), Lines{"90022"});
    for (int y : {20, 100, 180, 260}) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(plateAt(g.screen, 30, y));
    }
    // The plates' labels differ from one another: each plate carries its own word.
    EXPECT_NE(labelInk(g.screen, 30, 20).white.size(), labelInk(g.screen, 30, 100).white.size());
    const Bitmap money = loadResource("FWIN3");
    EXPECT_TRUE(sameArea(g.screen, 520, 20, money, 0, 0, 88, 48));
    // Between the plates and around them the picture shows through.
    EXPECT_TRUE(solidArea(g.screen, {30, 80, 130, 100}, kBackground));
    EXPECT_TRUE(solidArea(g.screen, {130, 0, 520, 480}, kBackground));
    EXPECT_TRUE(solidArea(g.screen, {520, 68, 640, 480}, kBackground));
    // The story waits: nothing after `move` runs while the menu is up.
    t.player().run();
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_EQ(lastChunk(t), "main");

    // A label is white with a black shadow two pixels right and down.
    const LabelInk ink = labelInk(g.screen, 30, 20);
    ASSERT_FALSE(ink.white.empty());
    ASSERT_FALSE(ink.black.empty());
    EXPECT_EQ(ink.other, 0);
    for (const Cell& b : ink.black) {
        EXPECT_EQ(g.screen.pixel(30 + b.x - 2, 20 + b.y - 2), kWhite) << b.x << "," << b.y;
    }
    for (const Cell& w : ink.white) {
        EXPECT_GE(w.x, 8);
        EXPECT_GE(w.y, 16);
        EXPECT_LT(w.y, 48);
    }

    // A right click changes nothing.
    const Bitmap menu = g.screen;
    t.player().click(MouseButton::Right, kMenuX, kMoveY);
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(sameBitmap(g.screen, menu));
    EXPECT_EQ(t.events("voice ").size(), 1u);

    // From the map a right click brings the same menu back, with its voice and the latch.
    t.player().click(MouseButton::Left, kMenuX, kMoveY);
    ASSERT_EQ(g.menuKind, MenuKind::FloorMap);
    t.player().mouseDown(MouseButton::Right, 500, 100);
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(g.inputLatch);
    EXPECT_TRUE(sameBitmap(g.screen, menu));
    EXPECT_EQ(t.events("voice "), (Lines{"90022", "90022", "90022"}));
    t.player().mouseDown(MouseButton::Left, kMenuX, kMoveY);  // no click until the release
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    t.player().mouseUp(MouseButton::Right, 500, 100);
    t.player().click(MouseButton::Left, kMenuX, kMoveY);
    EXPECT_EQ(g.menuKind, MenuKind::FloorMap);
}

// Bags of the money window, by slot: four to a row from (4, 4), 20 pixels apart.
int bagsShown(const Bitmap& screen) {
    const Bitmap bag = loadResource("FUKURO");
    const Bitmap money = loadResource("FWIN3");
    int bags = 0;
    bool gap = false;
    for (int i = 0; i < 8; ++i) {
        const int x = (i % 4) * 20 + 4;
        const int y = (i / 4) * 20 + 4;
        if (sameArea(screen, 520 + x, 20 + y, bag, 0, 0, 20, 20)) {
            if (gap) return -1;  // a bag after an empty slot
            ++bags;
        } else if (sameArea(screen, 520 + x, 20 + y, money, x, y, 20, 20)) {
            gap = true;
        } else {
            return -1;
        }
    }
    return bags;
}

TEST(HotelMenuMoney, GivenV50_WhenTheMenuShows_ThenOneBagShowsForEachWhole20UpToEight) {
    ASSERT_FALSE(sameArea(loadResource("FUKURO"), 0, 0, loadResource("FWIN3"), 4, 4, 20, 20));
    const std::vector<std::pair<std::int32_t, int>> cases{
        {0, 0},   {19, 0},  {20, 1},  {39, 1},  {40, 2}, {80, 4},  {99, 4},
        {100, 5}, {159, 7}, {175, 8}, {500, 8}, {-1, 0}, {-20, 0}, {-175, 0},
    };
    // Every showing counts the bags anew, so one game serves every amount.
    Hotel h;
    for (const auto& [collected, bags] : cases) {
        SCOPED_TRACE(collected);
        h.menu(1, collected);
        EXPECT_EQ(bagsShown(h.g().screen), bags);
    }
}

TEST(HotelMenuClicks, GivenTheMenu_WhenClickedOnEachBand_ThenItsItemRunsAndTheBandEdgesCount) {
    struct Case {
        int x;
        int y;
        const char* result;  // "map", "load", "save", the chunk started, or "-" for nothing
    };
    const Case cases[] = {
        {30, 20, "map"},  {130, 20, "map"},  {130, 80, "map"},  {80, 80, "map"},
        {80, 81, "-"},    {80, 90, "-"},     {80, 99, "-"},     {80, 100, "IVE"},
        {80, 160, "IVE"}, {80, 161, "-"},    {80, 180, "load"}, {80, 240, "load"},
        {80, 241, "-"},   {80, 260, "save"}, {30, 320, "save"}, {130, 320, "save"},
        {80, 321, "-"},   {80, 340, "-"},    {131, 50, "-"},    {29, 50, "-"},
        {80, 19, "-"},    {80, 0, "-"},      {400, 50, "-"},    {80, 400, "-"},
    };
    Hotel h;
    Game& g = h.g();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        h.menu(1);
        const Bitmap before = g.screen;
        const std::size_t chunks = h.t().events("chunk ").size();
        h.t().player().click(MouseButton::Left, c.x, c.y);
        std::string result = "-";
        if (g.menuKind == MenuKind::FloorMap) result = "map";
        if (g.menuKind == MenuKind::Slots) result = g.savingToSlot ? "save" : "load";
        if (g.menuKind == MenuKind::None) result = lastChunk(h.t());
        EXPECT_EQ(result, c.result);
        if (result == "-") {
            EXPECT_EQ(g.menuKind, MenuKind::Hotel);
            EXPECT_TRUE(sameBitmap(g.screen, before));
            EXPECT_EQ(h.t().events("chunk ").size(), chunks);
        }
    }
}

TEST(HotelMenuCollect, GivenTheMenu_WhenCollectIsClicked_ThenTheModeEndsAndIVERunsOverTheMenu) {
    TestGame t(hotelChunks());
    Game& g = openMenu(t, 4);
    const Bitmap menu = g.screen;
    t.player().mouseDown(MouseButton::Left, kMenuX, kCollectY);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_FALSE(g.inputLatch);  // the run state starts afresh
    EXPECT_EQ(lastChunk(t), "IVE");
    EXPECT_EQ(g.hotelPictures.mapCanvas.width(), 0);
    EXPECT_EQ(g.hotelPictures.plateScratch.width(), 0);
    // The menu stays on the screen until the chunk draws.
    EXPECT_TRUE(sameBitmap(g.screen, menu));
    EXPECT_EQ(g.vars.v(60), 4);
    t.player().mouseUp(MouseButton::Left, kMenuX, kCollectY);
    t.player().run();
    EXPECT_EQ(t.textLines(), Lines{"IVE"});
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);  // IVE's own `move`
}

TEST(HotelMenuSlots, GivenTheMenu_WhenLoadOrSaveIsClicked_ThenTheSlotListOpensMarkedToComeBack) {
    for (const bool saving : {false, true}) {
        SCOPED_TRACE(saving);
        TestGame t(hotelChunks());
        Game& g = openMenu(t);
        ASSERT_EQ(g.returnToHotelMark, 0);
        t.player().mouseDown(MouseButton::Left, kMenuX, saving ? kSaveY : kLoadY);
        EXPECT_EQ(g.menuKind, MenuKind::Slots);
        EXPECT_EQ(g.savingToSlot, saving);
        EXPECT_EQ(g.returnToHotelMark, 4);
        EXPECT_EQ(g.hoveredRow, 0);
        EXPECT_TRUE(g.inputLatch);  // the press that opened the list picks nothing in it
        // The menu is gone: its plates below the list and the money window show the picture.
        EXPECT_TRUE(solidArea(g.screen, {30, 220, 130, 320}, kBackground));
        EXPECT_TRUE(solidArea(g.screen, {520, 20, 608, 68}, kBackground));
        // The mode's pictures are left as they are.
        EXPECT_EQ(g.hotelPictures.mapCanvas.width(), 640);
        t.player().mouseUp(MouseButton::Left, kMenuX, saving ? kSaveY : kLoadY);
        // Cancelling the list brings the menu back.
        t.player().click(MouseButton::Left, 60, 34);
        EXPECT_EQ(g.menuKind, MenuKind::Hotel);
        EXPECT_EQ(g.returnToHotelMark, 4);
        EXPECT_TRUE(plateAt(g.screen, 30, 20));
        EXPECT_EQ(lastChunk(t), "main");
    }
}

TEST(HotelMenuSlots, GivenTheMenu_WhenAGameIsSavedAndLoadedThroughIt_ThenEachEndsInTheMenuAgain) {
    TestGame t(hotelChunks());
    Game& g = openMenu(t, 7, 40);
    t.player().click(MouseButton::Left, kMenuX, kSaveY);
    t.player().click(MouseButton::Left, 60, 54);  // slot 1
    EXPECT_EQ(lastChunk(t), "SAVE");
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_TRUE(std::filesystem::exists(t.saveDir() / "save1.cv"));
    EXPECT_EQ(bagsShown(g.screen), 2);

    g.vars.setV(60, 2);
    g.vars.setV(50, 0);
    t.player().click(MouseButton::Left, kMenuX, kLoadY);
    t.player().click(MouseButton::Left, 60, 54);
    EXPECT_EQ(lastChunk(t), "LOAD");
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
    EXPECT_EQ(g.vars.v(60), 7);
    EXPECT_EQ(bagsShown(g.screen), 2);  // the menu shows the loaded game's money
    // The loaded chunk waits behind the menu; the next choice starts another in its place.
    t.player().run();
    EXPECT_TRUE(t.textLines().empty());
    t.player().click(MouseButton::Left, kMenuX, kCollectY);
    t.player().run();
    EXPECT_EQ(t.textLines(), Lines{"IVE"});
}

// --- The floor map -----------------------------------------------------------------------------

TEST(FloorMapScreen, GivenTheMenu_WhenMoveIsClicked_ThenEveryPlateOfThatFloorShowsWithoutTheMenu) {
    Hotel h;
    const Game& g = h.g();
    h.map(3);
    EXPECT_EQ(h.t().events("voice "), (Lines{"90022", "90022"}));
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 5; ++row) {
            SCOPED_TRACE(std::to_string(column) + "," + std::to_string(row));
            const int x = 50 + 120 * column;
            const int y = 40 + 80 * row;
            // The marker sits on the 3F plate's corner.
            if (column == 0 && row == 2) {
                EXPECT_EQ(g.screen.pixel(x + 3, y + 3), kRed);
                continue;
            }
            EXPECT_TRUE(plateAt(g.screen, x, y));
        }
    }
    for (int y : {200, 280, 360}) EXPECT_TRUE(plateAt(g.screen, 290, y)) << y;
    // No room plates on 3F, no money window, no menu plates.
    EXPECT_TRUE(solidArea(g.screen, {290, 40, 390, 180}, kBackground));
    EXPECT_TRUE(solidArea(g.screen, {400, 0, 640, 480}, kBackground));
    EXPECT_TRUE(solidArea(g.screen, {0, 0, 50, 480}, kBackground));
    EXPECT_TRUE(solidArea(g.screen, {0, 420, 640, 480}, kBackground));

    // Only 1F and 2F have the upper room plate; only B1F, 1F, 2F and 10F the lower one.
    struct Case {
        std::int32_t floor;
        bool upper;
        bool lower;
    };
    for (const Case& c : {Case{0, false, true}, Case{1, true, true}, Case{2, true, true},
                          Case{3, false, false}, Case{5, false, false}, Case{9, false, false},
                          Case{10, false, true}, Case{1, true, true}}) {
        SCOPED_TRACE(c.floor);
        h.map(c.floor);
        EXPECT_EQ(plateAt(g.screen, 290, 40), c.upper);
        EXPECT_EQ(plateAt(g.screen, 290, 120), c.lower);
        if (!c.upper) {
            EXPECT_TRUE(solidArea(g.screen, {290, 40, 390, 100}, kBackground));
        }
        if (!c.lower) {
            EXPECT_TRUE(solidArea(g.screen, {290, 120, 390, 180}, kBackground));
        }
    }
}

// The lowest row of the label's white pixels inside the plate.
int lowestInk(const LabelInk& ink) {
    int lowest = -1;
    for (const Cell& w : ink.white) lowest = std::max(lowest, w.y);
    return lowest;
}

TEST(FloorMapScreen, GivenTheLongLabels_WhenDrawn_ThenTheyUseTheSmallerFont) {
    // At 16 pixels the text ends above row 16 + 16; at 24 it reaches below.
    Hotel h;
    h.map(1);
    EXPECT_LT(lowestInk(labelInk(h.g().screen, 290, 40)), 32);   // レストラン
    EXPECT_LT(lowestInk(labelInk(h.g().screen, 290, 280)), 32);  // エレベーター
    EXPECT_GE(lowestInk(labelInk(h.g().screen, 290, 120)), 32);  // ロビー
    h.map(2);
    EXPECT_GE(lowestInk(labelInk(h.g().screen, 290, 40)), 32);  // ジム
}

// The 8x8 marker: black outline, red inside; its top-left corner, or {-1, -1} when the red
// pixels are not one such square.
Cell markerCorner(const Bitmap& screen) {
    Cell first{-1, -1};
    int reds = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) != kRed) continue;
            if (reds++ == 0) first = {x, y};
        }
    }
    if (reds != 36) return {-1, -1};
    const Cell corner{first.x - 1, first.y - 1};
    if (!solidArea(screen, {corner.x + 1, corner.y + 1, corner.x + 7, corner.y + 7}, kRed)) {
        return {-1, -1};
    }
    for (int i = 0; i < 8; ++i) {
        for (const auto& [x, y] : {std::pair{corner.x + i, corner.y},
                                   {corner.x + i, corner.y + 7},
                                   {corner.x, corner.y + i},
                                   {corner.x + 7, corner.y + i}}) {
            if (screen.pixel(x, y) != kBlack) return {-1, -1};
        }
    }
    return corner;
}

TEST(FloorMapMarker, GivenEachFloor_WhenTheMapShows_ThenTheRedMarkerSitsOnThatFloorsPlateCorner) {
    const std::pair<std::int32_t, Cell> cases[] = {
        {0, {290, 360}},  // B1F
        {1, {50, 360}},
        {2, {50, 280}},
        {3, {50, 200}},
        {4, {50, 120}},
        {5, {50, 40}},
        {6, {170, 360}},
        {7, {170, 280}},
        {8, {170, 200}},
        {9, {170, 120}},
        {10, {170, 40}},
        {11, {290, 360}},  // off the map: the third column's
                           // bottom row, over the basement
        {-3, {-1, -1}},    // below the screen: no marker anywhere
    };
    Hotel h;
    for (const auto& [floor, expected] : cases) {
        SCOPED_TRACE(floor);
        h.map(floor);
        const Cell corner = markerCorner(h.g().screen);
        EXPECT_EQ(corner.x, expected.x);
        EXPECT_EQ(corner.y, expected.y);
    }
}

// What a click on the map did, from floor `floor`: the chunks started ("IVE KAI", "-" for none),
// V60 and V61 afterwards, and whether the mode was left.
struct MapResult {
    std::string chunks;
    std::int32_t floor;
    std::int32_t change;
    bool left;  // the mode was left (no menu up)
};

MapResult mapClick(Hotel& h, std::int32_t floor, int x, int y) {
    Game& g = h.g();
    h.map(floor);
    g.vars.setV(61, 99);
    const Bitmap before = g.screen;
    const std::size_t known = h.t().events("chunk ").size();
    h.t().player().click(MouseButton::Left, x, y);
    const Lines chunks = h.t().events("chunk ");
    std::string started;
    for (std::size_t i = known; i < chunks.size(); ++i) {
        started += (started.empty() ? "" : " ") + chunks[i];
    }
    const bool left = g.menuKind == MenuKind::None;
    if (left) {
        EXPECT_EQ(g.hotelPictures.mapCanvas.width(), 0);
    } else {
        EXPECT_EQ(g.menuKind, MenuKind::FloorMap);
        EXPECT_TRUE(sameBitmap(g.screen, before));
    }
    return {started.empty() ? "-" : started, g.vars.v(60), g.vars.v(61), left};
}

TEST(FloorMapClicks, GivenAFloor_WhenAPointIsClicked_ThenV60V61AndTheChunksFollowItsPlate) {
    struct Case {
        std::int32_t from;
        Cell at;
        const char* chunks;   // "-": nothing starts and the map stays
        std::int32_t floor;   // V60 afterwards
        std::int32_t change;  // V61 afterwards; 99 is left as it was
    };
    std::vector<Case> cases{
        {3, kBasement, "IVE KAI", 0, -3},     {0, floorCell(7), "IVE KAI", 7, 7},
        {0, kBasement, "IVE KAI", 0, 0},      {10, kBasement, "IVE KAI", 0, -10},
        {10, floorCell(1), "IVE KAI", 1, -9}, {0, kLowerRoom, "IVE DEN", 0, 99},
        {1, kLowerRoom, "IVE ROB", 1, 99},    {2, kLowerRoom, "IVE POO", 2, 99},
        {10, kLowerRoom, "IVE BAR", 10, 99},  {3, kLowerRoom, "IVE", 3, 99},
        {5, kLowerRoom, "IVE", 5, 99},        {9, kLowerRoom, "IVE", 9, 99},
        {-1, kLowerRoom, "IVE", -1, 99},      {1, kUpperRoom, "IVE RST", 1, 99},
        {2, kUpperRoom, "IVE GYM", 2, 99},    {0, kUpperRoom, "-", 0, 99},
        {3, kUpperRoom, "-", 3, 99},          {5, kUpperRoom, "-", 5, 99},
        {10, kUpperRoom, "-", 10, 99},
    };
    for (int f = 1; f <= 10; ++f) cases.push_back({3, floorCell(f), "IVE KAI", f, f - 3});
    // The band edges on 3F: x, y and the floor afterwards, 3 where the point is off every plate.
    const int edges[][3] = {
        {50, 40, 5},   {150, 40, 5},  {50, 100, 5},  {150, 100, 5}, {151, 40, 3},  {50, 101, 3},
        {49, 40, 3},   {50, 39, 3},   {160, 100, 3}, {169, 40, 3},  {170, 40, 10}, {270, 420, 6},
        {390, 420, 0}, {290, 360, 0}, {391, 420, 3}, {390, 421, 3}, {50, 420, 1},  {50, 421, 3},
        {100, 110, 3}, {100, 120, 4}, {271, 400, 3}, {0, 0, 3},     {600, 400, 3},
    };
    for (const auto& [x, y, f] : edges) {
        cases.push_back({3, {x, y}, f == 3 ? "-" : "IVE KAI", f, f == 3 ? 99 : f - 3});
    }
    for (std::int32_t f : {0, 1, 5, 10}) {
        cases.push_back({f, kElevator, "IVE ERE", f, 99});
        cases.push_back({f, kLounge, "IVE KYU", f, 99});
    }
    Hotel h;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " at " + std::to_string(c.at.x) + "," +
                     std::to_string(c.at.y));
        const MapResult r = mapClick(h, c.from, c.at.x, c.at.y);
        EXPECT_EQ(r.chunks, c.chunks);
        EXPECT_EQ(r.floor, c.floor);
        EXPECT_EQ(r.change, c.change);
        EXPECT_EQ(r.left, std::string(c.chunks) != "-");
    }
}

TEST(FloorMapClicks,
     GivenAPlaceWhoseChunkIsMissing_WhenClicked_ThenIVERunsAndTheFloorStillChanges) {
    Hotel noKai({"KAI"});
    Hotel noRst({"RST"});
    Hotel nothingAtAll({"IVE", "ERE"});
    const MapResult floor = mapClick(noKai, 3, floorCell(8).x, floorCell(8).y);
    EXPECT_EQ(floor.chunks, "IVE");
    EXPECT_EQ(floor.floor, 8);
    EXPECT_EQ(floor.change, 5);
    const MapResult room = mapClick(noRst, 1, kUpperRoom.x, kUpperRoom.y);
    EXPECT_EQ(room.chunks, "IVE");
    const MapResult nothing = mapClick(nothingAtAll, 1, kElevator.x, kElevator.y);
    EXPECT_EQ(nothing.chunks, "-");
    EXPECT_TRUE(nothing.left);  // no chunk starts, yet the mode is left
}

// --- A walk through the hotel ------------------------------------------------------------------

void screenshot(const Game& g, const std::string& file) {
    std::string error;
    EXPECT_TRUE(writePng(g.screen, "/tmp/" + file, error)) << error;
}

TEST(HotelWalk, GivenMove_WhenThePlayerGoesToAFloorARoomAndCollects_ThenEachPlaceRunsItsChunk) {
    TestGame t(hotelChunks());
    Game& g = openMenu(t, 1, 70);
    screenshot(g, "corvan_hotel_menu.png");

    t.player().click(MouseButton::Left, kMenuX, kMoveY);  // 移動
    screenshot(g, "corvan_floor_map.png");
    t.player().click(MouseButton::Left, floorCell(2).x, floorCell(2).y);  // 2F
    t.player().run();
    EXPECT_EQ(g.vars.v(60), 2);
    EXPECT_EQ(g.vars.v(61), 1);
    EXPECT_EQ(t.textLines(), Lines{"KAI"});
    ASSERT_EQ(g.menuKind, MenuKind::Hotel);  // KAI's `move`

    t.player().click(MouseButton::Left, kMenuX, kMoveY);
    screenshot(g, "corvan_floor_map_2f.png");
    t.player().click(MouseButton::Left, kUpperRoom.x, kUpperRoom.y);  // ジム
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"KAI", "GYM"}));

    t.player().click(MouseButton::Left, kMenuX, kCollectY);  // 徴収
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"KAI", "GYM", "IVE"}));
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "IVE", "KAI", "IVE", "GYM", "IVE"}));
    EXPECT_EQ(g.vars.v(60), 2);
    EXPECT_EQ(g.menuKind, MenuKind::Hotel);
}

}  // namespace
}  // namespace corvan::test
