#include "authoring/route_explorer.h"

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <queue>
#include <set>
#include <sstream>
#include <system_error>
#include <unordered_map>

#include "authoring/playthrough.h"
#include "authoring/script_check.h"
#include "authoring/script_flow.h"
#include "engine/cp932.h"
#include "engine/file_lookup.h"

namespace corvan {

namespace {

namespace fs = std::filesystem;

using explore::Decision;
using explore::DecisionKind;
using explore::Outcome;
using explore::Playthrough;
using explore::ScriptFlow;

// A choice point. Its game state is kept until all its options have been tried.
struct Node {
    Decision decision;
    int parent = -1;  // the node this one was first reached from, and the option taken there
    int option = 0;
    int depth = 0;
    std::unique_ptr<GameSnapshot> point;
    std::vector<int> edges;  // targets: node ids, or ~terminal id
    bool expanded = false;
};

// The edge of an option that a limit cut off.
constexpr int kCutEdge = ~(1 << 30);

struct Terminal {
    RouteEnd end;
    Outcome::Class endClass = Outcome::Class::Ending;
    int from = -1;  // the node whose option led here first (-1: the start)
    int option = 0;
};

class Explorer {
public:
    Explorer(const fs::path& gameDir, const ExploreOptions& options, ExploreReport& report)
        : gameDir_(gameDir), options_(options), report_(report) {}

    bool run(std::string& error, const std::function<void(const ExploreProgress&)>& progress);

private:
    // Where an outcome leads: a node id, or ~terminal.
    int addOutcome(const Outcome& outcome, int from, int option);
    void addProblems(int from, int option);
    void expand(int id);
    void queue(int id) {
        const Node& n = nodes_[static_cast<std::size_t>(id)];
        waiting_.push(
            {flow_->distanceToEnding(n.decision.chunkIndex, n.decision.lineIndex), -n.depth, id});
    }
    int popNext();
    std::vector<RouteStep> pathTo(int from, int option) const;
    std::vector<RouteStep> shortestPathTo(int target) const;
    void findShortestRoutes();
    void findLoopsAndDeadEnds();
    void findUnreached();
    std::string dot() const;
    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    }
    void cut(const std::string& limit, const std::string& where, std::vector<RouteStep> path) {
        report_.complete = false;
        if (report_.limitHit.empty()) report_.limitHit = limit;
        report_.cutoffs.push_back({"cutoff", where, limit, std::move(path)});
    }

    fs::path gameDir_;
    ExploreOptions options_;
    ExploreReport& report_;
    ScriptCheckInput script_;
    std::unique_ptr<ScriptFlow> flow_;
    std::unique_ptr<Playthrough> game_;
    std::vector<Node> nodes_;
    std::unordered_map<std::uint64_t, int> byKey_;
    // Nearest unfound ending first, then the deepest: (distance, -depth, node).
    std::priority_queue<std::tuple<int, int, int>, std::vector<std::tuple<int, int, int>>,
                        std::greater<>>
        waiting_;
    std::vector<Terminal> terminals_;
    std::map<std::string, int> terminalIds_;  // kind|where|detail -> terminal
    std::set<std::string> problemsSeen_;
    int startEdge_ = 0;
    std::map<std::string, std::set<std::int32_t>> coverage_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

std::vector<RouteStep> Explorer::pathTo(int from, int option) const {
    std::vector<RouteStep> path;
    for (int id = from, taken = option; id >= 0;) {
        const Node& n = nodes_[static_cast<std::size_t>(id)];
        std::string text;
        for (const auto& o : n.decision.options) {
            if (o.number == taken) text = o.text;
        }
        path.push_back({n.decision.chunk, n.decision.line, taken, text});
        taken = n.option;
        id = n.parent;
    }
    return {path.rbegin(), path.rend()};
}

int Explorer::addOutcome(const Outcome& outcome, int from, int option) {
    const int depth = from < 0 ? 0 : nodes_[static_cast<std::size_t>(from)].depth + 1;
    if (outcome.decision) {
        if (const auto it = byKey_.find(outcome.decision->key); it != byKey_.end())
            return it->second;
        if (static_cast<int>(nodes_.size()) >= options_.maxStates) {
            cut("--max-states " + std::to_string(options_.maxStates),
                outcome.decision->chunk + ":" + std::to_string(outcome.decision->line),
                pathTo(from, option));
            return kCutEdge;
        }
        Node node;
        node.decision = *outcome.decision;
        node.parent = from;
        node.option = option;
        node.depth = depth;
        node.point = std::make_unique<GameSnapshot>(game_->save());
        const int id = static_cast<int>(nodes_.size());
        byKey_.emplace(node.decision.key, id);
        nodes_.push_back(std::move(node));
        queue(id);
        return id;
    }
    const RouteEnd& end = outcome.end;
    if (outcome.endClass == Outcome::Class::Cutoff) {
        cut(end.detail.substr(0, end.detail.find(':')), end.where, pathTo(from, option));
        return kCutEdge;
    }
    const std::string endKey = end.kind + "|" + end.where + "|" + end.detail;
    const auto [known, added] = terminalIds_.emplace(endKey, static_cast<int>(terminals_.size()));
    if (added) {
        terminals_.push_back({end, outcome.endClass, from, option});
        if (outcome.endClass == Outcome::Class::Ending) {
            const auto colon = end.where.rfind(':');
            const int chunk =
                flow_->chunkIndex(utf8ToCp932(end.where.substr(0, colon)).value_or(""));
            if (chunk >= 0) flow_->endingFound(chunk, std::atoi(end.where.c_str() + colon + 1) - 1);
        }
    }
    return ~known->second;
}

void Explorer::addProblems(int from, int option) {
    for (RouteEnd& problem : game_->takeProblems()) {
        if (!problemsSeen_.insert(problem.kind + "|" + problem.where + "|" + problem.detail).second)
            continue;
        problem.path = pathTo(from, option);
        report_.problems.push_back(std::move(problem));
    }
}

void Explorer::expand(int id) {
    Node& node = nodes_[static_cast<std::size_t>(id)];
    if (node.depth >= options_.maxChoices) {
        cut("--max-choices " + std::to_string(options_.maxChoices),
            node.decision.chunk + ":" + std::to_string(node.decision.line),
            pathTo(node.parent, node.option));
        node.point.reset();
        return;
    }
    const Decision decision = node.decision;
    const std::unique_ptr<GameSnapshot> point = std::move(node.point);
    for (const auto& option : decision.options) {
        game_->restore(*point);
        const Outcome outcome = game_->choose(decision, option.number, options_.maxClicks);
        ++report_.branches;
        addProblems(id, option.number);
        const int target = addOutcome(outcome, id, option.number);
        nodes_[static_cast<std::size_t>(id)].edges.push_back(target);
    }
    nodes_[static_cast<std::size_t>(id)].expanded = true;
}

// The waiting node nearest an ending not found yet. Distances grow as endings are found, so a
// node's place in the queue is checked again when it comes out.
int Explorer::popNext() {
    while (!waiting_.empty()) {
        auto [distance, depth, id] = waiting_.top();
        waiting_.pop();
        const Node& n = nodes_[static_cast<std::size_t>(id)];
        const int now = flow_->distanceToEnding(n.decision.chunkIndex, n.decision.lineIndex);
        if (now > distance && !waiting_.empty() && now > std::get<0>(waiting_.top())) {
            waiting_.push({now, depth, id});
            continue;
        }
        return id;
    }
    return -1;
}

bool Explorer::run(std::string& error,
                   const std::function<void(const ExploreProgress&)>& progress) {
    const auto archive = findIgnoringCase(gameDir_, "mg_data.stf");
    if (!archive) {
        error = "no mg_data.stf in " + gameDir_.string();
        return false;
    }
    if (!readArchiveForCheck(*archive, script_, error)) return false;
    flow_ = std::make_unique<ScriptFlow>(script_.chunks);
    std::string pattern = (fs::temp_directory_path() / "corvan-explore-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a temporary save folder";
        return false;
    }
    struct RemoveOnExit {
        fs::path folder;
        ~RemoveOnExit() {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } cleanup{pattern};

    game_ = std::make_unique<Playthrough>(gameDir_, cleanup.folder, coverage_, *flow_);
    const Outcome first = game_->start(options_.maxClicks);
    if (!first.decision && first.end.kind == "closed") {
        error = "the game closed at start-up (is mg_data.stf readable?)";
        return false;
    }
    addProblems(-1, 0);
    startEdge_ = addOutcome(first, -1, 0);
    for (int id; (id = popNext()) >= 0;) {
        if (elapsed() > options_.maxSeconds) {
            const std::string limit =
                "--max-seconds " + std::to_string(static_cast<int>(options_.maxSeconds));
            for (; id >= 0; id = popNext()) {
                const Node& n = nodes_[static_cast<std::size_t>(id)];
                cut(limit, n.decision.chunk + ":" + std::to_string(n.decision.line),
                    pathTo(n.parent, n.option));
            }
            break;
        }
        expand(id);
        if (progress) {
            progress({static_cast<int>(nodes_.size() - waiting_.size()),
                      static_cast<int>(waiting_.size()),
                      static_cast<int>(std::count_if(
                          terminals_.begin(), terminals_.end(),
                          [](const Terminal& t) { return t.endClass == Outcome::Class::Ending; })),
                      elapsed()});
        }
    }
    game_.reset();
    report_.states = static_cast<int>(nodes_.size());
    findShortestRoutes();
    findLoopsAndDeadEnds();
    findUnreached();
    report_.dot = dot();
    report_.seconds = elapsed();
    return true;
}

// The fewest choices from the start to `target` (a node or ~terminal), by a walk over the route
// graph: the search itself goes deep first, so the route it found first can be long.
std::vector<RouteStep> Explorer::shortestPathTo(int target) const {
    std::vector<std::pair<int, int>> cameFrom(nodes_.size(), {-2, 0});  // node, option
    std::deque<int> work;
    if (startEdge_ >= 0) {
        cameFrom[static_cast<std::size_t>(startEdge_)] = {-1, 0};
        work.push_back(startEdge_);
    }
    if (startEdge_ == target) return {};
    while (!work.empty()) {
        const int id = work.front();
        work.pop_front();
        const Node& n = nodes_[static_cast<std::size_t>(id)];
        for (std::size_t k = 0; k < n.edges.size(); ++k) {
            const int next = n.edges[k];
            const int option = n.decision.options[k].number;
            if (next == target) return pathTo(id, option);
            if (next >= 0 && cameFrom[static_cast<std::size_t>(next)].first == -2) {
                cameFrom[static_cast<std::size_t>(next)] = {id, option};
                work.push_back(next);
            }
        }
    }
    return {};
}

void Explorer::findShortestRoutes() {
    for (std::size_t t = 0; t < terminals_.size(); ++t) {
        const Terminal& terminal = terminals_[t];
        RouteEnd end = terminal.end;
        end.path = startEdge_ == ~static_cast<int>(t) ? std::vector<RouteStep>{}
                                                      : shortestPathTo(~static_cast<int>(t));
        auto& list = terminal.endClass == Outcome::Class::Ending  ? report_.endings
                     : terminal.endClass == Outcome::Class::Stuck ? report_.stuck
                                                                  : report_.loops;
        list.push_back(std::move(end));
    }
}

// Loops: choice points from which no choice leads out, to an ending, a stuck route or a place a
// limit kept unexplored. Dead ends: choice points from which no ending can be reached, though
// the route does lead out (to a stuck route or a loop). Each is named where a route enters it.
void Explorer::findLoopsAndDeadEnds() {
    const std::size_t count = nodes_.size();
    std::vector<bool> exits(count, false);
    std::vector<bool> alive(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const Node& n = nodes_[i];
        if (!n.expanded) exits[i] = alive[i] = true;
        for (int edge : n.edges) {
            if (edge >= 0) continue;
            exits[i] = true;
            const int t = ~edge;
            // A cutoff counts as a way out: what lies past it is not known.
            if (t >= static_cast<int>(terminals_.size()) ||
                terminals_[static_cast<std::size_t>(t)].endClass == Outcome::Class::Ending)
                alive[i] = true;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < count; ++i) {
            for (int edge : nodes_[i].edges) {
                if (edge < 0) continue;
                const auto e = static_cast<std::size_t>(edge);
                if (exits[e] && !exits[i]) exits[i] = changed = true;
                if (alive[e] && !alive[i]) alive[i] = changed = true;
            }
        }
    }
    // Entered from the start, or from a point that is not itself in the loop or dead end.
    auto entries = [&](const std::vector<bool>& good) {
        std::vector<int> found;
        for (std::size_t i = 0; i < count; ++i) {
            if (good[i]) continue;
            bool entered = startEdge_ == static_cast<int>(i);
            for (std::size_t j = 0; j < count && !entered; ++j) {
                if (!good[j]) continue;
                for (int edge : nodes_[j].edges) entered = entered || edge == static_cast<int>(i);
            }
            if (entered) found.push_back(static_cast<int>(i));
        }
        return found;
    };
    for (int i : entries(exits)) {
        const Node& n = nodes_[static_cast<std::size_t>(i)];
        report_.loops.push_back({"loop", n.decision.chunk + ":" + std::to_string(n.decision.line),
                                 "no choice from here leads out", shortestPathTo(i)});
    }
    for (int i : entries(alive)) {
        if (!exits[static_cast<std::size_t>(i)]) continue;  // a loop, named above
        const Node& n = nodes_[static_cast<std::size_t>(i)];
        report_.deadEnds.push_back({"dead-end",
                                    n.decision.chunk + ":" + std::to_string(n.decision.line),
                                    "no ending can be reached from here", shortestPathTo(i)});
    }
}

// Chunks no route started, and labels of started chunks that no route passed or jumped to.
void Explorer::findUnreached() {
    for (const ChunkSource& chunk : script_.chunks) {
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
            const std::string_view text(chunk.bytes.data() + offset,
                                        stop - static_cast<std::size_t>(offset));
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
    auto target = [&](int edge) {
        if (edge >= 0) return "n" + std::to_string(edge);
        if (~edge >= static_cast<int>(terminals_.size())) return std::string("cut");
        return "t" + std::to_string(~edge);
    };
    out << "  start -> " << target(startEdge_) << ";\n";
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Decision& d = nodes_[i].decision;
        const char* what = d.kind == DecisionKind::Choice      ? "select"
                           : d.kind == DecisionKind::HotelMenu ? "hotel menu"
                                                               : "floor map";
        out << "  n" << i << " [label=\"" << dotText(d.chunk) << ":" << d.line << "\\n"
            << what << "\"];\n";
    }
    for (std::size_t t = 0; t < terminals_.size(); ++t) {
        const RouteEnd& end = terminals_[t].end;
        out << "  t" << t << " [shape=doubleoctagon, label=\"" << dotText(end.kind) << "\\n"
            << dotText(end.where) << "\"];\n";
    }
    if (!report_.cutoffs.empty()) out << "  cut [shape=octagon, label=\"cut off\"];\n";
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Node& n = nodes_[i];
        for (std::size_t k = 0; k < n.edges.size(); ++k) {
            const auto& option = n.decision.options[k];
            out << "  n" << i << " -> " << target(n.edges[k]) << " [label=\"" << option.number
                << " " << dotText(option.text) << "\"];\n";
        }
    }
    out << "}\n";
    return out.str();
}

}  // namespace

bool exploreRoutes(const fs::path& gameDir, const ExploreOptions& options, ExploreReport& report,
                   std::string& error,
                   const std::function<void(const ExploreProgress&)>& progress) {
    report = ExploreReport{};
    return Explorer(fs::absolute(gameDir).lexically_normal(), options, report).run(error, progress);
}

}  // namespace corvan
