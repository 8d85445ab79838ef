// Fuzz target: any bytes as an input script of corvan-replay. A script either parses, every
// command naming a line of the script in order and no count below zero, or is refused with an
// error that names its line. (What the commands do to a game is fuzzed by the targets that play
// one, with mouse input from their bytes; playing each script here would make this one too slow
// to find anything in the parser.)

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "headless/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto commands = corvan::parseInputScript(text, error);
    if (!commands) {
        if (error.rfind("line ", 0) != 0) abort();
        return 0;
    }
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    int previous = 0;
    for (const corvan::InputCommand& c : *commands) {
        if (c.line <= previous || c.line > lines || c.count < 0) abort();
        previous = c.line;
    }
    return 0;
}
