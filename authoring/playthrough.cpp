#include "authoring/playthrough.h"

#include <unordered_set>

#include "engine/cp932.h"
#include "engine/trace_events.h"
#include "game/enum_number.h"
#include "settings/setting_names.h"

namespace corvan::explore {

namespace {

// The 1-based line of the script that starts at `offset` of the current chunk.
int lineOfOffset(const Game& g, std::int32_t offset) {
    int line = 1;
    for (std::int32_t k = 0; k < offset && k < g.scriptLength; ++k) {
        if (g.scriptBuffer[static_cast<std::size_t>(k)] == 0) ++line;
    }
    return line;
}

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

std::uint64_t stateKey(const Game& g) {
    StateHash h;
    h.text(g.currentChunk);
    h.value(g.scriptPos);
    h.value(g.linePos);
    h.value(g.fetchLine);
    h.value(g.scriptRunning);
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
    for (std::int32_t v :
         {toNumber(g.caseState), toNumber(g.waitKind), toNumber(g.menuKind), toNumber(g.viewFlag),
          g.viewKind, toNumber(g.altTextMode), g.rowCount, g.returnToHotelMark}) {
        h.value(v);
    }
    h.bytes(g.vars.flagBytes().data(), g.vars.flagBytes().size());
    h.bytes(g.vars.values().data(), sizeof(std::int32_t) * g.vars.values().size());
    h.bytes(g.vars.systemValues().data(), sizeof(std::int32_t) * g.vars.systemValues().size());
    h.bytes(g.vars.persistentValues().data(), g.vars.persistentValues().size());
    return h.result();
}

Playthrough::Playthrough(const std::filesystem::path& gameDir, const std::filesystem::path& saveDir,
                         std::map<std::string, std::set<std::int32_t>>& coverage,
                         std::shared_ptr<PictureCache> pictures)
    : player_(GameOptions{.withSound = false, .pictureCache = std::move(pictures)}) {
    HeadlessHost& host = player_.host();
    // The events that end a route are kept with where the script was when they came.
    host.onEvent([this](const std::string& line) {
        const std::string_view name = std::string_view(line).substr(0, line.find(' '));
        if (name == "game-clear" || name == trace::kScriptLoop || name == trace::kScriptStop ||
            name == trace::kChunkMissing) {
            events_.push_back({line, here()});
        }
    });
    host.setSettingFallback(setting::kSaveDir, saveDir.string());
    host.setSettingFallback(setting::kGameDir, gameDir.string());
    // The fast text speed, a line a step instead of a character, and pictures shown without
    // their transitions: neither changes where the story goes.
    host.setSettingFallback(setting::kDelay, "1");
    host.setSettingFallback(setting::kGMode, "2");
    Game& g = player_.game();
    g.onLineFetched = [&g, &coverage](std::int32_t offset) {
        coverage[g.currentChunk].insert(offset);
    };
}

std::string Playthrough::here() {
    const Game& g = player_.game();
    return cp932ToUtf8(g.currentChunk) + ":" +
           std::to_string(std::max(lineOfOffset(g, g.scriptPos) - 1, 1));
}

Outcome Playthrough::finish(std::string kind, Outcome::Class endClass, std::string detail,
                            std::string where) {
    Outcome out;
    out.endClass = endClass;
    out.end.kind = std::move(kind);
    out.end.where = where.empty() ? here() : std::move(where);
    out.end.detail = std::move(detail);
    return out;
}

// The game's own events tell how a stretch ended: a cleared game, a script that stopped or
// looped, a chain or call to a chunk the archive lacks.
std::optional<Outcome> Playthrough::endFromEvents() {
    for (; eventsSeen_ < events_.size(); ++eventsSeen_) {
        const auto& [line, where] = events_[eventsSeen_];
        const std::string_view name = std::string_view(line).substr(0, line.find(' '));
        if (name == "game-clear") return finish("game-clear", Outcome::Class::Ending, line, where);
        if (name == trace::kScriptLoop) {
            return finish("script-loop", Outcome::Class::Stuck, line, where);
        }
        if (name == trace::kScriptStop) {
            const bool broken = line.find('(') != std::string::npos;
            return finish(broken ? "script-stop" : "story-end",
                          broken ? Outcome::Class::Stuck : Outcome::Class::Ending, line, where);
        }
        if (name == trace::kChunkMissing && line.find("(by ") != std::string::npos) {
            return finish("chunk-missing", Outcome::Class::Stuck, line, where);
        }
    }
    return std::nullopt;
}

Decision Playthrough::decisionHere(DecisionKind kind) {
    const Game& g = player_.game();
    Decision d;
    d.kind = kind;
    d.chunk = cp932ToUtf8(g.currentChunk);
    d.line = std::max(lineOfOffset(g, g.scriptPos) - 1, 1);
    d.key = stateKey(g);
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

Outcome Playthrough::advance(bool hotelChoices, bool hotelWalk, int maxClicks) {
    std::unordered_set<std::uint64_t> waits;
    for (int clicks = 0;; ++clicks) {
        player_.run();
        if (auto end = endFromEvents()) return *end;
        Game& g = player_.game();
        if (player_.closed()) return finish("closed", Outcome::Class::Ending, "the window closed");
        if (clicks > maxClicks) {
            return finish("endless", Outcome::Class::Loop,
                          std::to_string(maxClicks) + " clicks without a choice");
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
                player_.mouseUp(MouseButton::Left, kSlotCancelPoint.x, kSlotCancelPoint.y);
                click(kSlotCancelPoint);
                continue;
            case MenuKind::Hotel: {
                if (!hotelChoices) {
                    return finish("hotel", Outcome::Class::Ending,
                                  hotelWalk ? "the hotel menu again, after the visits allowed"
                                            : "the hotel map opens (corvan-explore --hotel "
                                              "walks it)");
                }
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
            if (!waits.insert(stateKey(g)).second) {
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

void Playthrough::choose(const Decision& decision, int option) {
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
}

}  // namespace corvan::explore
