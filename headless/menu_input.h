#pragma once

// The input script's commands that name what the player picks instead of where it is on the
// screen: `choose N`, the Nth row of the menu that is open (a choice menu, the system menu or
// the slot list), and `place NAME`, a plate of the hotel menu or the floor map by its label.
// An author's golden input then survives a change of layout.

#include <string>
#include <string_view>

#include "headless/replay_driver.h"

namespace corvan {

// Moves the pointer onto row `row` and clicks it. False, with `error` set, when no menu is
// open or it has no such row.
bool chooseMenuRow(ReplayDriver& driver, int row, std::string& error);

// Clicks the plate labelled `name` (UTF-8; blanks around it, and the difference between
// full-width and ASCII letters and digits, do not count: "5F" is "５Ｆ"). False, with `error`
// set, when neither the hotel menu nor the floor map is up or it shows no such plate.
bool choosePlace(ReplayDriver& driver, std::string_view name, std::string& error);

}  // namespace corvan
