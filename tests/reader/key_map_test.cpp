// The key map is the one table of keys: the README shows it as it is.

#include "reader/key_map.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace corvan::test {
namespace {

TEST(KeyMap, TheReadmeKeyTableIsTheKeyMapsOwn) {
    std::ifstream in(std::string(CORVAN_SOURCE_DIR) + "/README.md");
    std::stringstream readme;
    readme << in.rdbuf();
    EXPECT_NE(readme.str().find(keyTableMarkdown()), std::string::npos)
        << "write this table into the README:\n"
        << keyTableMarkdown();
}

TEST(KeyMap, GivenModifiers_ThenTheShortcutWinsAndPlainKeysStillAnswerWithCtrl) {
    EXPECT_EQ(keyAction(Key::S, {.ctrl = true}), KeyAction::Screenshot);
    EXPECT_EQ(keyAction(Key::S, {}), std::nullopt);
    EXPECT_EQ(keyAction(Key::Return, {.alt = true}), KeyAction::ToggleFullScreen);
    EXPECT_EQ(keyAction(Key::Return, {.ctrl = true}), KeyAction::Advance);
}

}  // namespace
}  // namespace corvan::test
