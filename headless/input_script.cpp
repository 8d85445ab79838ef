#include "headless/input_script.h"

#include <charconv>
#include <sstream>

#include "headless/menu_input.h"

namespace corvan {

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

template <typename T>
bool parseNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// The rest of the line after the first `skip` words, for file names with blanks.
std::string restOfLine(const std::string& line, int skip) {
    std::size_t pos = 0;
    for (int i = 0; i < skip; ++i) {
        pos = line.find_first_not_of(" \t", pos);
        pos = line.find_first_of(" \t", pos);
        if (pos == std::string::npos) return {};
    }
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string::npos) return {};
    std::size_t end = line.find_last_not_of(" \t\r");
    return line.substr(pos, end - pos + 1);
}

std::optional<MouseButton> parseButton(const std::string& word) {
    if (word == "L") return MouseButton::Left;
    if (word == "R") return MouseButton::Right;
    if (word == "M") return MouseButton::Middle;
    return std::nullopt;
}

std::string parseLine(const std::string& line, InputCommand& cmd) {
    const std::vector<std::string> w = words(line);
    const std::string& name = w[0];
    using K = InputCommand::Kind;
    auto needArgs = [&](std::size_t n, const char* usage) -> std::string {
        if (w.size() != n + 1) return std::string("usage: ") + usage;
        return {};
    };
    auto point = [&](std::size_t at) -> std::string {
        if (!parseNumber(w[at], cmd.x) || !parseNumber(w[at + 1], cmd.y)) {
            return "X and Y must be whole numbers";
        }
        return {};
    };

    if (name == "idle") {
        cmd.kind = K::Idle;
        if (auto e = needArgs(1, "idle N"); !e.empty()) return e;
        if (!parseNumber(w[1], cmd.count) || cmd.count < 0) return "N must be a number, 0 or more";
        return {};
    }
    if (name == "run" || name == "read") {
        // Run: idle calls; read: clicks through pages (see ReplayDriver).
        cmd.kind = name == "run" ? K::Run : K::Read;
        cmd.count = name == "run" ? 100000 : 1000;
        if (w.size() > 2) return "usage: " + name + " [MAX]";
        if (w.size() == 2 && (!parseNumber(w[1], cmd.count) || cmd.count < 0)) {
            return "MAX must be a number, 0 or more";
        }
        return {};
    }
    if (name == "move" || name == "click" || name == "rclick") {
        cmd.kind = name == "move" ? K::Move : name == "click" ? K::Click : K::RightClick;
        if (auto e = needArgs(2, (name + " X Y").c_str()); !e.empty()) return e;
        return point(1);
    }
    if (name == "down" || name == "up") {
        cmd.kind = name == "down" ? K::Down : K::Up;
        if (auto e = needArgs(3, (name + " L|R|M X Y").c_str()); !e.empty()) return e;
        const auto button = parseButton(w[1]);
        if (!button) return "the button must be L, R or M";
        cmd.button = *button;
        return point(2);
    }
    if (name == "state" || name == "shot") {
        cmd.kind = name == "state" ? K::State : K::Shot;
        cmd.text = restOfLine(line, 1);
        if (cmd.text.empty()) return "usage: " + name + " FILE";
        return {};
    }
    if (name == "answer") {
        cmd.kind = K::Answer;
        if (auto e = needArgs(1, "answer ok|cancel"); !e.empty()) return e;
        if (w[1] != "ok" && w[1] != "cancel") return "usage: answer ok|cancel";
        cmd.ok = w[1] == "ok";
        return {};
    }
    if (name == "pick") {
        cmd.kind = K::Pick;
        cmd.text = restOfLine(line, 1);
        if (cmd.text.empty()) return "usage: pick PATH|cancel";
        cmd.ok = cmd.text != "cancel";
        return {};
    }
    if (name == "key" || name == "keydown" || name == "keyup" || name == "wheel") {
        cmd.kind = name == "keydown" ? K::KeyDown : name == "keyup" ? K::KeyUp : K::Key;
        const std::string usage =
            name == "wheel" ? "usage: wheel up|down" : "usage: " + name + " NAME";
        if (w.size() != 2) return usage;
        const auto key = keyNamed(name == "wheel" ? "wheel " + w[1] : w[1]);
        if (!key || (name != "wheel" && (*key == Key::WheelUp || *key == Key::WheelDown))) {
            return name == "wheel" ? usage : "no key is named \"" + w[1] + "\"";
        }
        cmd.key = *key;
        return {};
    }
    if (name == "set") {
        cmd.kind = K::Set;
        if (w.size() < 3) return "usage: set NAME VALUE";
        cmd.text = w[1];
        cmd.value = restOfLine(line, 2);
        return {};
    }
    if (name == "choose") {
        cmd.kind = K::Choose;
        if (auto e = needArgs(1, "choose N"); !e.empty()) return e;
        if (!parseNumber(w[1], cmd.count) || cmd.count < 1) return "N must be a row, 1 or more";
        return {};
    }
    if (name == "place") {
        cmd.kind = K::Place;
        cmd.text = restOfLine(line, 1);
        if (cmd.text.empty()) return "usage: place NAME";
        return {};
    }
    return "unknown command \"" + name + "\"";
}

}  // namespace

std::optional<std::vector<InputCommand>> parseInputScript(const std::string& text,
                                                          std::string& error) {
    std::vector<InputCommand> commands;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Every byte that splits words is a blank here too: a line of only such bytes has no
        // command word.
        const auto first = line.find_first_not_of(" \t\r\v\f");
        if (first == std::string::npos || line[first] == '#') continue;
        InputCommand cmd;
        cmd.line = number;
        if (const std::string problem = parseLine(line, cmd); !problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem + ": " + line;
            return std::nullopt;
        }
        commands.push_back(std::move(cmd));
    }
    return commands;
}

bool runInputCommands(const std::vector<InputCommand>& commands, ReplayDriver& driver,
                      const InputHooks& hooks) {
    using K = InputCommand::Kind;
    bool allDone = true;
    for (const InputCommand& cmd : commands) {
        switch (cmd.kind) {
            case K::Answer: hooks.answer(cmd.ok ? MessageAnswer::Ok : MessageAnswer::Cancel); break;
            case K::Pick:
                hooks.pick(cmd.ok ? std::optional<std::string>(cmd.text) : std::nullopt);
                break;
            case K::Set: driver.setSetting(cmd.text, cmd.value); break;
            case K::Idle: driver.idle(cmd.count); break;
            case K::Run: driver.run(cmd.count); break;
            case K::Read: driver.readOn(cmd.count); break;
            case K::Move: driver.mouseMove(cmd.x, cmd.y); break;
            case K::Click: driver.click(MouseButton::Left, cmd.x, cmd.y); break;
            case K::RightClick: driver.click(MouseButton::Right, cmd.x, cmd.y); break;
            case K::Down: driver.mouseDown(cmd.button, cmd.x, cmd.y); break;
            case K::Up: driver.mouseUp(cmd.button, cmd.x, cmd.y); break;
            case K::State: hooks.state(cmd.text); break;
            case K::Shot: hooks.shot(cmd.text); break;
            case K::Key: driver.key(cmd.key); break;
            case K::KeyDown: driver.keyDown(cmd.key); break;
            case K::KeyUp: driver.keyUp(cmd.key); break;
            case K::Choose:
            case K::Place: {
                std::string problem;
                const bool done = cmd.kind == K::Choose
                                      ? chooseMenuRow(driver, static_cast<int>(cmd.count), problem)
                                      : choosePlace(driver, cmd.text, problem);
                if (!done) {
                    allDone = false;
                    if (hooks.failed) hooks.failed(cmd.line, problem);
                }
                break;
            }
        }
    }
    return allDone;
}

}  // namespace corvan
