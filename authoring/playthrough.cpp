#include "authoring/playthrough.h"

#include <fstream>
#include <sstream>
#include <unordered_set>
#include <utility>

#include "engine/cp932.h"
#include "engine/trace_events.h"
#include "game/enum_number.h"
#include "settings/setting_names.h"

namespace corvan::explore {

namespace {

namespace fs = std::filesystem;

// A plate's label without the blanks that centre it.
std::string trimmed(std::string_view label) {
    constexpr std::string_view kWideBlank = "　";
    for (;;) {
        if (label.starts_with(' ')) {
            label.remove_prefix(1);
        } else if (label.starts_with(kWideBlank)) {
            label.remove_prefix(kWideBlank.size());
        } else {
            return std::string(label);
        }
    }
}

// A point on the plate of map cell `cell`.
hotel::Point mapCellPoint(int cell) {
    const int column = cell < hotel::kBasementCell ? cell / 5 : 2;
    const int row = cell < hotel::kBasementCell ? 4 - cell % 5 : 4 - (cell - hotel::kBasementCell);
    return {50 + 120 * column + 50, 40 + 80 * row + 30};
}

// "CHUNK:LINE" split into its chunk and 1-based line.
std::pair<std::string, int> splitWhere(const std::string& where) {
    const auto colon = where.rfind(':');
    if (colon == std::string::npos) return {where, 0};
    return {where.substr(0, colon), std::atoi(where.c_str() + colon + 1)};
}

std::string readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string_view eventName(const std::string& line) {
    return std::string_view(line).substr(0, line.find(' '));
}

constexpr hotel::Point kPagePoint{320, 240};
constexpr hotel::Point kViewClosePoint{558, 30};
constexpr hotel::Point kSlotCancelPoint{100, 34};
constexpr int kChoiceLeft = 100;
constexpr int kChoiceTop = 16;
constexpr int kChoiceRowHeight = 36;
constexpr int kMaxChoiceBytes = 31;
constexpr int kMenuItemX = 80;
constexpr int kMenuItemTop = 50;
constexpr int kMenuItemPitch = 80;

}  // namespace

Playthrough::Playthrough(const fs::path& gameDir, const fs::path& saveDir,
                         std::map<std::string, std::set<std::int32_t>>& coverage,
                         const ScriptFlow& flow)
    : gameDir_(gameDir), saveDir_(saveDir), coverage_(coverage), flow_(flow) {
    newPlayer();
}

void Playthrough::newPlayer() {
    player_ = std::make_unique<HeadlessPlayer>(
        GameOptions{.withSound = false, .pictureCache = pictures_});
    player_->reader().keepNoReadRecord();
    HeadlessHost& host = player_->host();
    // The events that end a route, and the problems met on the way, are kept with where the
    // script was when they came.
    host.onEvent([this](const std::string& line) {
        const std::string_view name = eventName(line);
        if (name == "game-clear" || name == "save" || name == "load") outsideChanged_ = true;
        if (name == "game-clear" || name == trace::kScriptLoop || name == trace::kScriptStop ||
            name == trace::kChunkMissing || name == trace::kLabelMissing) {
            events_.push_back({line, player_->game().ScriptLocation()});
        }
    });
    host.setSettingFallback(setting::kSaveDir, saveDir_.string());
    host.setSettingFallback(setting::kGameDir, gameDir_.string());
    // The fast text speed, a line a step instead of a character, and pictures shown without
    // their transitions: neither changes where the story goes.
    host.setSettingFallback(setting::kDelay, "1");
    host.setSettingFallback(setting::kGMode, "2");
    Game& g = player_->game();
    g.onLineFetched = [&g, this](std::int32_t offset) { coverage_[g.currentChunk].insert(offset); };
}

Outcome Playthrough::start(int maxClicks) {
    Outcome out = advance(maxClicks);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(saveDir_, ec)) {
        if (entry.is_regular_file(ec)) startFiles_[entry.path()] = readWhole(entry.path());
    }
    outsideChanged_ = false;
    return out;
}

void Playthrough::restore(const GameSnapshot& point) {
    // A route that closed the window ends the game; the next option gets a new one.
    if (player_->closed()) {
        newPlayer();
        player_->start();
    }
    if (outsideChanged_) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(saveDir_, ec)) {
            if (!startFiles_.contains(entry.path())) fs::remove_all(entry.path(), ec);
        }
        for (const auto& [file, bytes] : startFiles_) {
            std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        }
        player_->host().writeSetting(setting::kClear, "0");
        outsideChanged_ = false;
    }
    player_->game().RestoreSnapshot(point);
    player_->host().clearEvents();
    events_.clear();
    eventsSeen_ = 0;
}

std::vector<RouteEnd> Playthrough::takeProblems() {
    return std::exchange(problems_, {});
}

Outcome Playthrough::finish(std::string kind, Outcome::Class endClass, std::string detail,
                            std::string where) {
    Outcome out;
    out.endClass = endClass;
    out.end.kind = std::move(kind);
    out.end.where = where.empty() ? player_->game().ScriptLocation() : std::move(where);
    out.end.detail = std::move(detail);
    return out;
}

// The game's own events tell how a stretch ended: a cleared game, a script that stopped or
// looped, a chain or call to a chunk the archive lacks. The problems among them are kept for
// the report whether or not they end the route.
std::optional<Outcome> Playthrough::endFromEvents() {
    for (; eventsSeen_ < events_.size(); ++eventsSeen_) {
        const auto& [line, where] = events_[eventsSeen_];
        const std::string_view name = eventName(line);
        if (name == trace::kLabelMissing || name == trace::kChunkMissing ||
            name == trace::kScriptLoop) {
            problems_.push_back({std::string(name), where, line, {}});
        }
        if (name == "game-clear") return finish("game-clear", Outcome::Class::Ending, line, where);
        if (name == trace::kScriptLoop) {
            ++eventsSeen_;
            return finish("script-loop", Outcome::Class::Stuck, line, where);
        }
        if (name == trace::kScriptStop) {
            const bool broken = line.find('(') != std::string::npos;
            return finish(broken ? "script-stop" : "story-end",
                          broken ? Outcome::Class::Stuck : Outcome::Class::Ending, line, where);
        }
        if (name == trace::kChunkMissing && line.find("(by chain") != std::string::npos) {
            ++eventsSeen_;
            return finish("chunk-missing", Outcome::Class::Stuck, line, where);
        }
    }
    return std::nullopt;
}

// The state a choice point is known by: the chunk and position, the run state, the caller a
// called chunk returns to, and the variables the rest of the script can still read there.
// Pictures, sounds and the text on screen do not change where the story goes.
std::uint64_t Playthrough::stateKey(int chunk, int line) const {
    const Game& g = player_->game();
    StateHash h;
    // Every option of the hotel menu and the floor map starts a chunk afresh with a new run
    // state: which chunk's `move` opened the menu, and how, makes no difference from there on.
    const bool hotel = g.menuKind == MenuKind::Hotel || g.menuKind == MenuKind::FloorMap;
    if (!hotel) {
        h.text(g.currentChunk);
        h.value(g.scriptPos);
        h.value(g.linePos);
        h.value(g.fetchLine);
        h.value(g.scriptRunning);
        for (std::int32_t v : {toNumber(g.caseState), toNumber(g.waitKind), g.rowCount}) h.value(v);
    }
    h.value(g.inCall);
    if (g.inCall) {
        h.text(g.callerChunk);
        h.value(g.callReturnPos);
    }
    h.value(g.inMessage);
    if (g.inMessage) {
        h.text(g.messageCallerChunk);
        h.value(g.messageReturnPos);
    }
    for (std::int32_t v : {toNumber(g.menuKind), toNumber(g.viewFlag), g.viewKind,
                           toNumber(g.altTextMode), g.returnToHotelMark}) {
        h.value(v);
    }
    const Variables& vars = g.vars;
    if (chunk < 0) {
        h.bytes(vars.flagBytes().data(), vars.flagBytes().size());
        h.bytes(vars.values().data(), sizeof(std::int32_t) * vars.values().size());
        h.bytes(vars.systemValues().data(), sizeof(std::int32_t) * vars.systemValues().size());
    } else {
        // A called chunk and a message section go back to their caller: what is live there
        // is live here too.
        VariableSet live = flow_.liveAt(chunk, line);
        auto liveOnReturn = [&](const std::string& caller, std::int32_t offset) {
            const int back = flow_.chunkIndex(caller);
            if (back < 0) return false;
            live |= flow_.liveAt(back, flow_.lineAt(back, offset));
            return true;
        };
        if (g.inCall && !liveOnReturn(g.callerChunk, g.callReturnPos)) return stateKey(-1, 0);
        if (g.inMessage && !liveOnReturn(g.messageCallerChunk, g.messageReturnPos))
            return stateKey(-1, 0);
        for (std::size_t n = 0; n < live.flags.size(); ++n) {
            if (live.flags.test(n)) h.value(vars.TestFlag(static_cast<std::int32_t>(n)));
        }
        for (std::size_t n = 0; n < live.values.size(); ++n) {
            if (live.values.test(n)) h.value(vars.values()[n]);
        }
        for (std::size_t n = 0; n < live.system.size(); ++n) {
            if (live.system.test(n)) h.value(vars.systemValues()[n]);
        }
    }
    h.bytes(vars.persistentValues().data(), vars.persistentValues().size());
    return h.result();
}

Decision Playthrough::decisionHere(DecisionKind kind) {
    const Game& g = player_->game();
    Decision d;
    d.kind = kind;
    const auto [chunk, line] = splitWhere(g.ScriptLocation());
    d.chunk = chunk;
    d.line = line;
    d.chunkIndex = flow_.chunkIndex(g.currentChunk);
    d.lineIndex = std::max(line - 1, 0);
    d.key = stateKey(d.chunkIndex, d.lineIndex);
    if (kind == DecisionKind::Choice) {
        std::int32_t reading = g.scriptPos;
        for (int row = 1; row <= g.rowCount; ++row) {
            std::string text;
            while (reading < g.scriptLength &&
                   g.scriptBuffer[static_cast<std::size_t>(reading)] != 0) {
                if (text.size() < kMaxChoiceBytes) {
                    text.push_back(
                        static_cast<char>(g.scriptBuffer[static_cast<std::size_t>(reading)]));
                }
                ++reading;
            }
            ++reading;
            d.options.push_back({row, cp932ToUtf8(text)});
        }
    } else if (kind == DecisionKind::HotelMenu) {
        // 移動 and 徴収; loading and saving lead nowhere new.
        const auto plates = hotel::menuPlates();
        for (int item = 1; item <= 2; ++item) {
            d.options.push_back({item, trimmed(plates[static_cast<std::size_t>(item - 1)].label)});
        }
    } else {
        const std::int32_t floor = g.vars.v(60);
        std::map<int, std::string> cells;
        auto add = [&](std::span<const hotel::Plate> plates) {
            for (const hotel::Plate& plate : plates) {
                const int cell = hotel::mapCellAt(plate.x + 50, plate.y + 30);
                if (cell != hotel::kNoCell) cells[cell] = trimmed(plate.label);
            }
        };
        add(hotel::floorPlates());
        add(hotel::roomPlates(floor));
        for (const auto& [cell, label] : cells) d.options.push_back({cell, label});
    }
    return d;
}

Outcome Playthrough::advance(int maxClicks) {
    std::unordered_set<std::uint64_t> waits;
    for (int clicks = 0;; ++clicks) {
        player_->run();
        if (auto end = endFromEvents()) return *end;
        Game& g = player_->game();
        if (player_->closed()) return finish("closed", Outcome::Class::Stuck, "the window closed");
        if (clicks > maxClicks) {
            return finish(
                "cutoff", Outcome::Class::Cutoff,
                "--max-clicks " + std::to_string(maxClicks) + ": so many clicks without a choice");
        }
        if (g.viewFlag == ViewFlag::ViewShown) {
            click(kViewClosePoint);
            continue;
        }
        switch (g.menuKind) {
            case MenuKind::Choice: {
                Outcome out;
                out.decision = decisionHere(DecisionKind::Choice);
                return out;
            }
            case MenuKind::Slots:
                // The slot list of *load: the player cancels.
                player_->mouseUp(MouseButton::Left, kSlotCancelPoint.x, kSlotCancelPoint.y);
                click(kSlotCancelPoint);
                continue;
            case MenuKind::Hotel: {
                Outcome out;
                out.decision = decisionHere(DecisionKind::HotelMenu);
                return out;
            }
            case MenuKind::FloorMap: {
                Outcome out;
                out.decision = decisionHere(DecisionKind::FloorMap);
                return out;
            }
            case MenuKind::None: break;
            default: click({600, 460}); continue;
        }
        if (g.waitKind != WaitKind::None) {
            // The same page wait twice with no choice in between: the pages go round for ever.
            const auto [chunk, line] = splitWhere(g.ScriptLocation());
            if (!waits.insert(stateKey(-1, line)).second) {
                return finish("loop", Outcome::Class::Loop, "the pages go round without a choice");
            }
            click(kPagePoint);
            continue;
        }
        if (!g.scriptRunning)
            return finish("script-stop", Outcome::Class::Stuck, "the script stopped");
        return finish("endless", Outcome::Class::Stuck, "the script runs on without waiting");
    }
}

Outcome Playthrough::choose(const Decision& decision, int option, int maxClicks) {
    switch (decision.kind) {
        case DecisionKind::Choice: {
            const int y = kChoiceTop + kChoiceRowHeight * (option - 1) + kChoiceRowHeight / 2;
            click({kChoiceLeft, y});
            break;
        }
        case DecisionKind::HotelMenu:
            click({kMenuItemX, kMenuItemTop + kMenuItemPitch * (option - 1)});
            break;
        case DecisionKind::FloorMap: click(mapCellPoint(option)); break;
    }
    return advance(maxClicks);
}

}  // namespace corvan::explore
