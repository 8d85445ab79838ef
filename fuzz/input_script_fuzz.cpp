// Fuzz target: any bytes as an input script of corvan-replay. A script that parses is played on
// the demo game, every command as corvan-replay plays it except those that write files or name
// folders (state, shot, pick, and set for the save and game folders), with its idle counts cut
// down so that an input stays quick.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/ascii.h"
#include "engine/settings.h"
#include "fuzz/fuzz_game.h"
#include "headless/input_script.h"

namespace {

constexpr std::int64_t kMaxIdleCalls = 400;
constexpr std::size_t kMaxCommands = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto commands =
        corvan::parseInputScript(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!commands) {
        if (error.rfind("line ", 0) != 0) abort();
        return 0;
    }
    corvan::HeadlessPlayer player(corvan::GameOptions{.withSound = size % 2 == 0});
    corvan::fuzz::useFolders(player, corvan::fuzz::freshFolders(true));
    player.start();
    using K = corvan::InputCommand::Kind;
    for (std::size_t i = 0; i < std::min(commands->size(), kMaxCommands); ++i) {
        if (player.closed()) break;
        const corvan::InputCommand& cmd = (*commands)[i];
        switch (cmd.kind) {
            case K::Answer:
                player.host().queueAnswer(cmd.ok ? corvan::MessageAnswer::Ok
                                                 : corvan::MessageAnswer::Cancel);
                break;
            case K::Idle: player.idle(std::min(cmd.count, kMaxIdleCalls)); break;
            case K::Run: player.run(std::min(cmd.count, kMaxIdleCalls)); break;
            case K::Move: player.mouseMove(cmd.x, cmd.y); break;
            case K::Click: player.click(corvan::MouseButton::Left, cmd.x, cmd.y); break;
            case K::RightClick: player.click(corvan::MouseButton::Right, cmd.x, cmd.y); break;
            case K::Down: player.mouseDown(cmd.button, cmd.x, cmd.y); break;
            case K::Up: player.mouseUp(cmd.button, cmd.x, cmd.y); break;
            case K::Set:
                if (!corvan::equalIgnoringAsciiCase(cmd.text, corvan::setting::kSaveDir) &&
                    !corvan::equalIgnoringAsciiCase(cmd.text, corvan::setting::kGameDir)) {
                    player.setSetting(cmd.text, cmd.value);
                }
                break;
            case K::State:
            case K::Shot:
            case K::Pick: break;
        }
    }
    return 0;
}
