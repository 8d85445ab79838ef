#include "tools/route_explorer.h"

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "engine/cp932.h"
#include "engine/file_lookup.h"
#include "engine/settings.h"
#include "engine/trace_events.h"
#include "headless/replay.h"
#include "headless/state_json.h"
#include "hotel/hotel_plates.h"
#include "tools/script_check.h"

namespace corvan {

namespace {

namespace fs = std::filesystem;

enum class DecisionKind { Choice, HotelMenu, FloorMap };

struct Option {
    int number = 0;
    std::string text;
};

// A point where the player chooses.
struct Decision {
    DecisionKind kind = DecisionKind::Choice;
    std::string chunk;
    int line = 0;
    std::vector<Option> options;
    std::uint64_t key = 0;
};

// Where a stretch of play between two choices ends: at a choice, or at the route's end.
struct Outcome {
    std::optional<Decision> decision;
    RouteEnd end;
    enum class Class { Ending, Stuck, Loop } endClass = Class::Ending;
};

// FNV-1a over the parts of the game that decide what it does next.
class StateHash {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * 1099511628211u;
    }
    template <typename T>
    void value(const T& v) {
        bytes(&v, sizeof v);
    }
    void text(const std::string& s) {
        value(s.size());
        bytes(s.data(), s.size());
    }
    std::uint64_t result() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037u;
};

// The state a choice point is known by: the chunk and position, the run state and the
// variables. Pictures, sounds and the text on screen do not change where the story goes.
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
    for (std::int32_t v : {g.caseState, g.waitKind, g.menuKind, g.viewFlag, g.viewKind,
                           g.altTextMode, g.rowCount, g.returnToHotelMark}) {
        h.value(v);
    }
    h.bytes(g.vars.flagBytes().data(), g.vars.flagBytes().size());
    h.bytes(g.vars.values().data(), sizeof(std::int32_t) * g.vars.values().size());
    h.bytes(g.vars.systemValues().data(), sizeof(std::int32_t) * g.vars.systemValues().size());
    h.bytes(g.vars.persistentValues().data(), g.vars.persistentValues().size());
    return h.result();
}

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

// One play of the game from the start, on a fresh save folder.
class Playthrough {
public:
    Playthrough(const fs::path& gameDir, const fs::path& saveDir,
                std::map<std::string, std::set<std::int32_t>>& coverage)
        : player_(GameOptions{.withSound = false}) {
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

    // `hotelChoices`: the hotel menu is a choice point; `hotelWalk`: the hotel is walked at
    // all (its menu ends the route only because the route has used up its visits).
    Outcome advance(bool hotelChoices, bool hotelWalk, int maxClicks);
    void choose(const Decision& decision, int option);

private:
    Outcome finish(std::string kind, Outcome::Class endClass, std::string detail,
                   std::string where = {});
    std::optional<Outcome> endFromEvents();
    Decision decisionHere(DecisionKind kind);
    void click(hotel::Point p) { player_.click(MouseButton::Left, p.x, p.y); }

    // "CHUNK:LINE" of the line the script ran last.
    std::string here() {
        const Game& g = player_.game();
        return cp932ToUtf8(g.currentChunk) + ":" +
               std::to_string(std::max(lineOfOffset(g, g.scriptPos) - 1, 1));
    }

    struct Event {
        std::string line;
        std::string where;
    };
    HeadlessPlayer player_;
    std::vector<Event> events_;
    std::size_t eventsSeen_ = 0;
};

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
            while (reading < g.scriptLength && g.scriptBuffer[static_cast<std::size_t>(reading)] != 0) {
                if (text.size() < kMaxChoiceBytes) {
                    text.push_back(static_cast<char>(g.scriptBuffer[static_cast<std::size_t>(reading)]));
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
        if (g.viewFlag == 2) {
            click(kViewClosePoint);
            continue;
        }
        switch (g.menuKind) {
            case 1: {
                Outcome out;
                out.decision = decisionHere(DecisionKind::Choice);
                return out;
            }
            case 3:
                // The slot list of *load: the player cancels.
                player_.mouseUp(MouseButton::Left, kSlotCancelPoint.x, kSlotCancelPoint.y);
                click(kSlotCancelPoint);
                continue;
            case 4: {
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
            case 5: {
                Outcome out;
                out.decision = decisionHere(DecisionKind::FloorMap);
                return out;
            }
            case 0: break;
            default:
                click({600, 460});
                continue;
        }
        if (g.waitKind != 0) {
            // The same page wait twice with no choice in between: the pages go round for ever.
            if (!waits.insert(stateKey(g)).second) {
                return finish("loop", Outcome::Class::Loop, "the pages go round without a choice");
            }
            click(kPagePoint);
            continue;
        }
        if (!g.scriptRunning) return finish("script-stop", Outcome::Class::Stuck, "the script stopped");
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

// --- The search ------------------------------------------------------------------------------

struct Node {
    Decision decision;
    std::vector<RouteStep> path;
    int hotelVisits = 0;
    bool expanded = false;
    std::vector<std::pair<std::string, std::string>> edges;  // label, target id
};

class Explorer {
public:
    Explorer(const fs::path& gameDir, const ExploreOptions& options, ExploreReport& report)
        : gameDir_(gameDir), options_(options), report_(report) {}

    bool run(std::string& error, const std::function<void(int, int)>& progress);

private:
    // Plays `path` and then `option` at its end (none for the start); the outcome after it.
    Outcome play(const std::vector<RouteStep>& path, const Node* from, int option);
    std::string addOutcome(const Outcome& outcome, const std::vector<RouteStep>& path,
                           int hotelVisits);
    void findClosedLoops();
    void findUnreached();
    std::string dot() const;
    bool outOfTime() const {
        return std::chrono::steady_clock::now() - started_ >
               std::chrono::duration<double>(options_.maxSeconds);
    }
    void limit(const std::string& what) {
        report_.complete = false;
        if (report_.limitHit.empty()) report_.limitHit = what;
    }

    fs::path gameDir_;
    fs::path saveDir_;
    ExploreOptions options_;
    ExploreReport& report_;
    std::vector<Node> nodes_;
    std::unordered_map<std::uint64_t, std::size_t> byKey_;
    std::deque<std::size_t> waiting_;
    std::map<std::string, std::string> terminals_;    // id -> label
    std::map<std::string, std::string> terminalIds_;  // kind|where|detail -> id
    std::string startEdge_;
    std::map<std::string, std::set<std::int32_t>> coverage_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

Outcome Explorer::play(const std::vector<RouteStep>& path, const Node* from, int option) {
    // Each play starts from an empty save folder: the seen record must not carry one route's
    // pictures and scenes into another.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(saveDir_, ec)) fs::remove_all(entry.path(), ec);
    ++report_.replays;
    Playthrough p(gameDir_, saveDir_, coverage_);
    int visits = 0;
    Outcome out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel, options_.maxClicks);
    for (const RouteStep& step : path) {
        if (!out.decision) return out;  // cannot happen in a deterministic game
        if (out.decision->kind == DecisionKind::HotelMenu) ++visits;
        p.choose(*out.decision, step.option);
        out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel, options_.maxClicks);
    }
    if (from != nullptr && out.decision) {
        if (out.decision->kind == DecisionKind::HotelMenu) ++visits;
        p.choose(*out.decision, option);
        out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel, options_.maxClicks);
    }
    return out;
}

std::string Explorer::addOutcome(const Outcome& outcome, const std::vector<RouteStep>& path,
                                 int hotelVisits) {
    if (outcome.decision) {
        StateHash h;
        h.value(outcome.decision->key);
        h.value(hotelVisits);
        const std::uint64_t key = h.result();
        if (const auto it = byKey_.find(key); it != byKey_.end()) return "n" + std::to_string(it->second);
        if (static_cast<int>(nodes_.size()) >= options_.maxStates) {
            limit("--max-states " + std::to_string(options_.maxStates));
            return "";
        }
        Node node;
        node.decision = *outcome.decision;
        node.path = path;
        node.hotelVisits = hotelVisits;
        byKey_.emplace(key, nodes_.size());
        nodes_.push_back(std::move(node));
        waiting_.push_back(nodes_.size() - 1);
        return "n" + std::to_string(nodes_.size() - 1);
    }
    const RouteEnd& end = outcome.end;
    const std::string endKey = end.kind + "|" + end.where + "|" + end.detail;
    const auto [known, added] =
        terminalIds_.emplace(endKey, "t" + std::to_string(terminalIds_.size()));
    const std::string id = known->second;
    if (added) {
        terminals_.emplace(id, end.kind + "\\n" + end.where);
        RouteEnd found = end;
        found.path = path;
        auto& list = outcome.endClass == Outcome::Class::Ending ? report_.endings
                     : outcome.endClass == Outcome::Class::Stuck ? report_.stuck
                                                                 : report_.loops;
        list.push_back(std::move(found));
    }
    return id;
}

bool Explorer::run(std::string& error, const std::function<void(int, int)>& progress) {
    if (!findIgnoringCase(gameDir_, "mg_data.stf")) {
        error = "no mg_data.stf in " + gameDir_.string();
        return false;
    }
    std::string pattern = (fs::temp_directory_path() / "corvan-explore-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a temporary save folder";
        return false;
    }
    saveDir_ = pattern;
    struct RemoveOnExit {
        fs::path folder;
        ~RemoveOnExit() {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } cleanup{saveDir_};

    startEdge_ = addOutcome(play({}, nullptr, 0), {}, 0);
    while (!waiting_.empty()) {
        const std::size_t id = waiting_.front();
        waiting_.pop_front();
        if (static_cast<int>(nodes_[id].path.size()) >= options_.maxChoices) {
            limit("--max-choices " + std::to_string(options_.maxChoices));
            continue;
        }
        const std::vector<Option> options = nodes_[id].decision.options;
        for (const Option& option : options) {
            if (outOfTime()) {
                limit("--max-seconds");
                break;
            }
            const Node& node = nodes_[id];
            std::vector<RouteStep> path = node.path;
            path.push_back({node.decision.chunk, node.decision.line, option.number, option.text});
            const int visits =
                node.hotelVisits + (node.decision.kind == DecisionKind::HotelMenu ? 1 : 0);
            const Outcome outcome = play(node.path, &node, option.number);
            const std::string target = addOutcome(outcome, path, visits);
            const std::string label = std::to_string(option.number) + " " + option.text;
            nodes_[id].edges.emplace_back(label, target);
        }
        nodes_[id].expanded = true;
        if (progress) progress(static_cast<int>(nodes_.size() - waiting_.size()),
                               static_cast<int>(waiting_.size()));
        if (outOfTime()) break;
    }
    report_.states = static_cast<int>(nodes_.size());
    findClosedLoops();
    findUnreached();
    report_.dot = dot();
    return true;
}

// Choice points from which no choice leads out, to an ending, a stuck state or a place the
// limits kept unexplored: the player goes round them for ever.
void Explorer::findClosedLoops() {
    std::vector<bool> exits(nodes_.size(), false);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (!nodes_[i].expanded) exits[i] = true;
        for (const auto& edge : nodes_[i].edges) {
            if (edge.second.empty() || edge.second[0] == 't') exits[i] = true;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (exits[i]) continue;
            for (const auto& edge : nodes_[i].edges) {
                if (exits[static_cast<std::size_t>(std::stoul(edge.second.substr(1)))]) {
                    exits[i] = true;
                    changed = true;
                    break;
                }
            }
        }
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (exits[i]) continue;
        const Node& node = nodes_[i];
        report_.loops.push_back({"loop", node.decision.chunk + ":" + std::to_string(node.decision.line),
                                 "no choice from here leads out", node.path});
    }
}

// Chunks no route started, and labels of started chunks that no route passed or jumped to.
void Explorer::findUnreached() {
    ScriptCheckInput input;
    std::string error;
    const auto archive = findIgnoringCase(gameDir_, "mg_data.stf");
    if (!archive || !readArchiveForCheck(*archive, input, error)) return;
    for (const ChunkSource& chunk : input.chunks) {
        const std::string name = cp932ToUtf8(chunk.name);
        const auto covered = coverage_.find(chunk.name);
        if (covered == coverage_.end()) {
            report_.unreached.push_back({name, "", 0});
            continue;
        }
        std::int32_t offset = 0;
        int line = 1;
        while (offset < static_cast<std::int32_t>(chunk.bytes.size())) {
            const std::size_t end = chunk.bytes.find('\0', static_cast<std::size_t>(offset));
            const std::size_t stop = end == std::string::npos ? chunk.bytes.size() : end;
            const std::string_view text(chunk.bytes.data() + offset, stop - static_cast<std::size_t>(offset));
            const auto next = static_cast<std::int32_t>(stop + 1);
            if (text.size() > 1 && text[0] == ':' && !covered->second.contains(offset) &&
                !covered->second.contains(next)) {
                report_.unreached.push_back({name, cp932ToUtf8(text.substr(1)), line});
            }
            offset = next;
            ++line;
        }
    }
}

std::string dotText(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

std::string Explorer::dot() const {
    std::ostringstream out;
    out << "digraph routes {\n  rankdir=TB;\n  node [shape=box, fontname=\"sans\"];\n";
    out << "  start [shape=circle];\n";
    if (!startEdge_.empty()) out << "  start -> " << startEdge_ << ";\n";
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Decision& d = nodes_[i].decision;
        const char* what = d.kind == DecisionKind::Choice    ? "select"
                           : d.kind == DecisionKind::HotelMenu ? "hotel menu"
                                                               : "floor map";
        out << "  n" << i << " [label=\"" << dotText(d.chunk) << ":" << d.line << "\\n" << what
            << "\"];\n";
    }
    for (const auto& [id, label] : terminals_) {
        out << "  " << id << " [shape=doubleoctagon, label=\"" << label << "\"];\n";
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        for (const auto& [label, target] : nodes_[i].edges) {
            if (target.empty()) continue;
            out << "  n" << i << " -> " << target << " [label=\"" << dotText(label) << "\"];\n";
        }
    }
    out << "}\n";
    return out.str();
}

}  // namespace

bool exploreRoutes(const fs::path& gameDir, const ExploreOptions& options, ExploreReport& report,
                   std::string& error, const std::function<void(int, int)>& progress) {
    report = ExploreReport{};
    return Explorer(fs::absolute(gameDir).lexically_normal(), options, report).run(error, progress);
}

namespace {

void pathText(std::ostringstream& out, const std::vector<RouteStep>& path) {
    if (path.empty()) {
        out << "no choice";
        return;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const RouteStep& step = path[i];
        out << (i == 0 ? "" : " > ") << step.chunk << ":" << step.line << " " << step.option << " "
            << step.text;
    }
}

void endsText(std::ostringstream& out, const char* title, const std::vector<RouteEnd>& ends) {
    out << title << " (" << ends.size() << "):\n";
    for (const RouteEnd& end : ends) {
        out << "  " << end.kind << " at " << end.where << ": " << end.detail << "\n    choices: ";
        pathText(out, end.path);
        out << "\n";
    }
}

std::string pathJson(const std::vector<RouteStep>& path) {
    std::ostringstream out;
    out << "[";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const RouteStep& s = path[i];
        out << (i == 0 ? "" : ", ") << "{\"chunk\": " << jsonString(s.chunk) << ", \"line\": " << s.line
            << ", \"option\": " << s.option << ", \"text\": " << jsonString(s.text) << "}";
    }
    out << "]";
    return out.str();
}

std::string endsJson(const std::vector<RouteEnd>& ends) {
    std::ostringstream out;
    out << "[";
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const RouteEnd& e = ends[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"kind\": " << jsonString(e.kind)
            << ", \"where\": " << jsonString(e.where) << ", \"detail\": " << jsonString(e.detail)
            << ", \"path\": " << pathJson(e.path) << "}";
    }
    out << (ends.empty() ? "]" : "\n  ]");
    return out.str();
}

}  // namespace

std::string formatExploreReport(const ExploreReport& report) {
    std::ostringstream out;
    endsText(out, "endings", report.endings);
    endsText(out, "stuck", report.stuck);
    endsText(out, "loops", report.loops);
    out << "unreached (" << report.unreached.size() << "):\n";
    for (const Unreached& u : report.unreached) {
        if (u.label.empty()) {
            out << "  chunk " << u.chunk << "\n";
        } else {
            out << "  label :" << u.label << " at " << u.chunk << ":" << u.line << "\n";
        }
    }
    out << report.states << " choice points, " << report.replays << " plays from the start, "
        << (report.complete ? "every route explored" : "cut short by " + report.limitHit) << "\n";
    return out.str();
}

std::string exploreReportJson(const ExploreReport& report) {
    std::ostringstream out;
    out << "{\n  \"endings\": " << endsJson(report.endings) << ",\n  \"stuck\": "
        << endsJson(report.stuck) << ",\n  \"loops\": " << endsJson(report.loops)
        << ",\n  \"unreached\": [";
    for (std::size_t i = 0; i < report.unreached.size(); ++i) {
        const Unreached& u = report.unreached[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"chunk\": " << jsonString(u.chunk)
            << ", \"label\": " << jsonString(u.label) << ", \"line\": " << u.line
            << ", \"path\": []}";
    }
    out << (report.unreached.empty() ? "]" : "\n  ]") << ",\n  \"states\": " << report.states
        << ",\n  \"replays\": " << report.replays
        << ",\n  \"complete\": " << (report.complete ? "true" : "false")
        << ",\n  \"limit\": " << jsonString(report.limitHit) << "\n}\n";
    return out.str();
}

}  // namespace corvan
