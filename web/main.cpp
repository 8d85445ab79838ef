// The browser's game module: what the page's script (web/site/corvan-page.js) calls. Each entry
// point may wait (see web/page.h), so the page calls them asynchronously and one at a time.

#include <emscripten.h>

#include <memory>
#include <string>

#include "game/game.h"
#include "headless/frame_hash.h"
#include "headless/headless_host.h"
#include "headless/input_script.h"
#include "headless/replay_driver.h"
#include "headless/state_json.h"
#include "settings/setting_names.h"
#include "web/page.h"
#include "web/web_host.h"
#include "web/web_loop.h"

using namespace corvan;
using namespace corvan::web;

namespace {

struct Session {
    std::unique_ptr<WebHost> host;
    std::unique_ptr<Reader> reader;
    std::unique_ptr<WebLoop> loop;
};
Session session;

// A string handed to the page, which frees it.
char* give(const std::string& text) {
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = '\0';
    return out;
}

std::string jsonList(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "," : "") + jsonString(lines[i]);
    return out + "]";
}

}  // namespace

extern "C" {

// Starts the game in the page's game folder, with music and voices unless `silent`. Returns an
// empty string, or what kept the game from starting.
EMSCRIPTEN_KEEPALIVE char* corvan_start(int silent) {
    std::string error;
    auto text = atlasTextRenderer(error);
    if (!text) return give(error);
    session.loop.reset();
    session.reader.reset();
    session.host = std::make_unique<WebHost>(std::move(text));
    session.reader = std::make_unique<Reader>(*session.host, GameOptions{.withSound = silent == 0});
    session.loop = std::make_unique<WebLoop>(*session.reader);
    session.host->attach(*session.loop);
    session.loop->start();
    return give("");
}

// Handles the events the page has queued.
EMSCRIPTEN_KEEPALIVE void corvan_pump() {
    if (session.loop) session.loop->processEvents();
}

// Whether the running game waits for the player with nothing else due.
EMSCRIPTEN_KEEPALIVE int corvan_waiting() {
    return session.reader && !session.loop->ended() &&
           ReplayDriver::waitsForPlayer(session.reader->game(), *session.reader) &&
           !session.loop->reader().wantsIdleCalls();
}

// Plays an input script of the headless player (headless/input_script.h) on its virtual clock,
// with the browser's files, glyphs and code page, a fresh save folder and settings in memory.
// Returns one JSON object: {"error": ...} when the script cannot be read, else the log, the
// hash of every transition frame and the final state, as corvan-replay writes them.
EMSCRIPTEN_KEEPALIVE char* corvan_replay(const char* input) {
    std::string error;
    const auto commands = parseInputScript(input, error);
    if (!commands) return give("{\"error\":" + jsonString(error) + "}");
    auto text = atlasTextRenderer(error);
    if (!text) return give("{\"error\":" + jsonString(error) + "}");

    WebFiles files;
    HeadlessHost host(files, *text);
    host.setSettingFallback(setting::kSaveDir, kSaveFolder);
    host.setSettingFallback(setting::kGameDir, kGameFolder);
    std::vector<std::string> log;
    std::vector<std::string> frames;
    host.onEvent([&](const std::string& line) { log.push_back(line); });
    host.onFrame([&](const Bitmap& screen) {
        frames.push_back(frameHashText(screen));
        page::paint(screen, {0, 0, screen.width(), screen.height()});
    });
    Reader reader(host, GameOptions{.withSound = true});
    Game& game = reader.game();
    ReplayDriver driver(reader, [&] { return host.windowClosed(); });
    host.clockVoicesBy([&] { return driver.playedMilliseconds(); });
    std::vector<std::string> problems;
    runInputCommands(
        *commands, driver,
        {.answer = [&](MessageAnswer answer) { host.queueAnswer(answer); },
         .pick = [&](std::optional<std::string> path) { host.queuePick(std::move(path)); },
         .state = [&](const std::string&) {},
         .shot = [&](const std::string&) {},
         .failed =
             [&](int line, const std::string& problem) {
                 problems.push_back("input line " + std::to_string(line) + ": " + problem);
             }});
    driver.start();
    const Bitmap& shown = reader.picture();
    page::paint(shown, {0, 0, shown.width(), shown.height()});
    return give("{\"log\":" + jsonList(log) + ",\"frames\":" + jsonList(frames) + ",\"problems\":" +
                jsonList(problems) + ",\"state\":" + jsonString(stateJson(game)) + "}");
}

}  // extern "C"
