// corvan-replay: plays a game directory without a display, driven by an input script, and
// writes what happened: a log of what the player would see and hear, the final state as JSON
// and the screen as PNG.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>

#include "corvan_version.h"
#include "engine/file_write.h"
#include "headless/frame_hash.h"
#include "headless/input_script.h"
#include "headless/png_writer.h"
#include "headless/replay.h"
#include "headless/state_json.h"
#include "settings/setting_names.h"

namespace fs = std::filesystem;
using namespace corvan;

namespace {

constexpr const char* kUsage =
    R"(usage: corvan-replay [--save DIR] [--config FILE] [--input FILE] [--state FILE]
                     [--shot FILE] [--frames FILE] [--sound] [--log FILE] GAMEDIR

Plays the game in GAMEDIR (the folder holding mg_data.stf) without a display, on a
virtual clock: each idle call is 20 ms and the 60 ms timer fires after every third.

  --save DIR     save folder (created when missing; default: a fresh temporary folder)
  --config FILE  INI settings file, section [Corvan], used instead of settings kept in
                 memory; SaveDir and GameDir come from --save and GAMEDIR unless it has them
  --input FILE   input script, one command a line ('-' for standard input);
                 default: run until the game waits for the player
  --state FILE   write the final state as JSON when the input ends
  --shot FILE    write the final 640x480 screen as PNG when the input ends
  --frames FILE  write a hash of the screen after every transition frame, one a line
                 (64-bit FNV-1a over the pixels, hexadecimal), when the input ends
  --sound        behave as the build with music and voices (calls are logged, not heard)
  --log FILE     one line for every event a player would see or hear (default: stdout)
  --help         show this text
  --version      show the version

Input commands:
  idle N | run [MAX] | read [MAX] | move X Y | click X Y | rclick X Y | down L|R|M X Y | up L|R|M X Y
  state FILE | shot FILE | answer ok|cancel | pick PATH|cancel | set NAME VALUE
  choose N      click row N of the open menu (choice menu, system menu, slot list)
  place NAME    click the hotel menu's or the floor map's plate NAME (移動, 徴収, 5F, ロビー)
  key NAME | keydown NAME | keyup NAME | wheel up|down
Key names: return space escape up down left right pageup pagedown home end tab ctrl
  a h o s f11 f12 plus minus
)";

int usageError(const std::string& message) {
    std::cerr << "corvan-replay: " << message << "\n\n" << kUsage;
    return 2;
}

std::string makeTemporarySaveFolder() {
    std::string pattern = (fs::temp_directory_path() / "corvan-save-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

struct Options {
    std::string save, config, input, state, shot, frames, log, gameDir;
    bool sound = false;
};

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (answerHelpOrVersion(arg, "corvan-replay", kUsage)) {
            return 0;
        } else if (arg == "--sound") {
            opt.sound = true;
        } else if (arg == "--save" || arg == "--config" || arg == "--input" || arg == "--state" ||
                   arg == "--shot" || arg == "--frames" || arg == "--log") {
            std::string* into = arg == "--save"     ? &opt.save
                                : arg == "--config" ? &opt.config
                                : arg == "--input"  ? &opt.input
                                : arg == "--state"  ? &opt.state
                                : arg == "--shot"   ? &opt.shot
                                : arg == "--frames" ? &opt.frames
                                                    : &opt.log;
            if (!value(*into)) return usageError(arg + " needs a value");
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return usageError("unknown option " + arg);
        } else if (opt.gameDir.empty()) {
            opt.gameDir = arg;
        } else {
            return usageError("only one GAMEDIR may be given");
        }
    }
    if (opt.gameDir.empty()) return usageError("no GAMEDIR given");
    std::error_code ec;
    if (!fs::is_directory(opt.gameDir, ec)) {
        return usageError("GAMEDIR " + opt.gameDir + " is not a folder");
    }

    // Read the whole input first, so a mistake in it stops the tool before anything runs.
    std::string inputText = "run\n";
    if (!opt.input.empty()) {
        std::stringstream buffer;
        if (opt.input == "-") {
            buffer << std::cin.rdbuf();
        } else {
            std::ifstream in(opt.input, std::ios::binary);
            if (!in) return usageError("cannot read the input script " + opt.input);
            buffer << in.rdbuf();
        }
        inputText = buffer.str();
    }
    std::string error;
    const auto commands = parseInputScript(inputText, error);
    if (!commands) {
        std::cerr << "corvan-replay: " << (opt.input.empty() ? "input" : opt.input) << ", " << error
                  << "\n";
        return 2;
    }

    // A save folder made for this run goes with it, however the run ends.
    struct RemoveOnExit {
        std::string folder;
        ~RemoveOnExit() {
            std::error_code ignored;
            if (!folder.empty()) fs::remove_all(folder, ignored);
        }
    } temporarySave;
    if (opt.save.empty()) {
        opt.save = temporarySave.folder = makeTemporarySaveFolder();
        if (opt.save.empty()) return usageError("cannot make a temporary save folder");
    } else {
        fs::create_directories(opt.save, ec);
        if (!fs::is_directory(opt.save, ec)) {
            return usageError("cannot make the save folder " + opt.save);
        }
    }

    std::ofstream logFile;
    if (!opt.log.empty()) {
        logFile.open(opt.log, std::ios::binary | std::ios::trunc);
        if (!logFile) return usageError("cannot write the log " + opt.log);
    }
    std::ostream& log = opt.log.empty() ? std::cout : logFile;

    HeadlessPlayer player(GameOptions{.withSound = opt.sound});
    HeadlessHost& host = player.host();
    host.onEvent([&log](const std::string& line) { log << line << '\n' << std::flush; });
    std::string frames;
    if (!opt.frames.empty()) {
        host.onFrame([&frames](const Bitmap& screen) { frames += frameHashText(screen) + '\n'; });
    }
    if (!opt.config.empty() && !host.useSettingsFile(opt.config, error)) return usageError(error);
    host.setSettingFallback(setting::kSaveDir, fs::absolute(opt.save).string());
    host.setSettingFallback(setting::kGameDir,
                            fs::absolute(opt.gameDir).lexically_normal().string());

    int status = 0;
    auto writeState = [&](const std::string& path) {
        player.start();
        std::string problem;
        if (!writeFileAtomically(path, stateJson(player.game()), problem)) {
            std::cerr << "corvan-replay: " << problem << "\n";
            status = 1;
        }
    };
    auto writeShot = [&](const std::string& path) {
        player.start();
        std::string problem;
        if (!writePng(player.reader().picture(), path, problem)) {
            std::cerr << "corvan-replay: " << problem << "\n";
            status = 1;
        }
    };

    const bool allDone = runInputCommands(
        *commands, player.driver(),
        {.answer = [&](MessageAnswer answer) { host.queueAnswer(answer); },
         .pick = [&](std::optional<std::string> path) { host.queuePick(std::move(path)); },
         .state = writeState,
         .shot = writeShot,
         .failed =
             [&](int line, const std::string& problem) {
                 std::cerr << "corvan-replay: input line " << line << ": " << problem << "\n";
             }});
    if (!allDone) status = 1;
    player.start();
    if (!opt.state.empty()) writeState(opt.state);
    if (!opt.shot.empty()) writeShot(opt.shot);
    if (!opt.frames.empty() && !writeFileAtomically(opt.frames, frames, error)) {
        std::cerr << "corvan-replay: " << error << "\n";
        status = 1;
    }
    return status;
}
