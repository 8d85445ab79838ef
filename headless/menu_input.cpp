#include "headless/menu_input.h"

#include <vector>

#include "hotel/hotel_plates.h"

namespace corvan {

namespace {

// A label as a person would type it: without the blanks that centre it, full-width ASCII
// (U+FF01 to U+FF5E, three bytes in UTF-8) as ASCII, letters in upper case.
std::string plainLabel(std::string_view label) {
    std::string out;
    for (std::size_t i = 0; i < label.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(label[i + k]); };
        if (i + 2 < label.size() && b(0) == 0xE3 && b(1) == 0x80 && b(2) == 0x80) {
            i += 3;  // a full-width blank
            continue;
        }
        if (i + 2 < label.size() && b(0) == 0xEF && (b(1) == 0xBC || b(1) == 0xBD)) {
            const int code = 0xFF00 + ((b(1) & 0x03) << 6) + (b(2) & 0x3F);
            if (code >= 0xFF01 && code <= 0xFF5E) {
                out.push_back(static_cast<char>(code - 0xFF01 + 0x21));
                i += 3;
                continue;
            }
        }
        if (label[i] != ' ') out.push_back(label[i]);
        ++i;
    }
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

bool chooseMenuRow(ReplayDriver& driver, int row, std::string& error) {
    const Game& g = driver.game();
    const auto point = g.MenuRowPoint(row);
    if (!point) {
        error = g.menuKind == MenuKind::None || g.viewFlag == ViewFlag::ViewShown
                    ? "no menu is open"
                    : "the menu has no row " + std::to_string(row) + " (it has " +
                          std::to_string(g.rowCount) + ")";
        return false;
    }
    driver.mouseMove(point->x, point->y);
    driver.click(MouseButton::Left, point->x, point->y);
    return true;
}

bool choosePlace(ReplayDriver& driver, std::string_view name, std::string& error) {
    const Game& g = driver.game();
    std::vector<hotel::Plate> plates;
    if (g.menuKind == MenuKind::Hotel) {
        const auto menu = hotel::menuPlates();
        plates.assign(menu.begin(), menu.end());
    } else if (g.menuKind == MenuKind::FloorMap) {
        const auto floors = hotel::floorPlates();
        const auto rooms = hotel::roomPlates(g.vars.v(60));
        plates.assign(floors.begin(), floors.end());
        plates.insert(plates.end(), rooms.begin(), rooms.end());
    } else {
        error = "neither the hotel menu nor the floor map is up";
        return false;
    }
    std::string shown;
    for (const hotel::Plate& plate : plates) {
        if (plainLabel(plate.label) == plainLabel(name)) {
            const int x = plate.x + hotel::kPlateWidth / 2;
            const int y = plate.y + hotel::kLabelRows / 2;
            driver.click(MouseButton::Left, x, y);
            return true;
        }
        shown += (shown.empty() ? "" : ", ") + plainLabel(plate.label);
    }
    error = "no plate \"" + std::string(name) + "\" here (the plates: " + shown + ")";
    return false;
}

}  // namespace corvan
