#pragma once

// The headless player's input script: one command a line, blank lines and lines starting with
// '#' skipped. Parsing checks every line before anything runs, so a mistake late in a long
// script is reported at once, naming its line.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "headless/replay_driver.h"
#include "reader/keys.h"

namespace corvan {

struct InputCommand {
    enum class Kind {
        Idle,
        Run,
        Read,
        Move,
        Click,
        RightClick,
        Down,
        Up,
        State,
        Shot,
        Answer,
        Pick,
        Set,
        Key,  // a press and release
        KeyDown,
        KeyUp,
        Choose,
        Place,
    };
    Kind kind = Kind::Idle;
    int line = 0;            // 1-based line number in the script
    std::int64_t count = 0;  // idle, run, read; the row of choose
    int x = 0;
    int y = 0;
    MouseButton button = MouseButton::Left;
    std::string text;   // file name, setting name, pick path, place name
    std::string value;  // setting value
    bool ok = false;    // answer ok; pick given (not cancel)
    corvan::Key key = corvan::Key::Return;
};

// Parses the whole script. On failure returns nullopt and sets `error` to "line N: ...".
std::optional<std::vector<InputCommand>> parseInputScript(const std::string& text,
                                                          std::string& error);

// What the commands that are the host's or the caller's business do: answers and picks for the
// next dialogs, the state and screen files asked for, and a command that could not be done
// (`choose` or `place` when the screen has no such row or plate).
struct InputHooks {
    std::function<void(MessageAnswer)> answer;
    std::function<void(std::optional<std::string>)> pick;
    std::function<void(const std::string& file)> state;
    std::function<void(const std::string& file)> shot;
    std::function<void(int line, const std::string& problem)> failed;
};

// Plays the commands, one after the other, on the driver's game. False when any failed.
bool runInputCommands(const std::vector<InputCommand>& commands, ReplayDriver& driver,
                      const InputHooks& hooks);

}  // namespace corvan
