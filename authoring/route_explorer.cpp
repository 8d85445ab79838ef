#include "authoring/route_explorer.h"

#include <chrono>
#include <deque>
#include <map>
#include <set>
#include <sstream>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "engine/cp932.h"
#include "engine/file_lookup.h"
#include "engine/trace_events.h"
#include "headless/state_json.h"
#include "authoring/playthrough.h"
#include "authoring/script_check.h"

namespace corvan {

namespace {

namespace fs = std::filesystem;

using explore::Decision;
using explore::DecisionKind;
using explore::Option;
using explore::Outcome;
using explore::Playthrough;
using explore::StateHash;

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
    std::shared_ptr<PictureCache> pictures_ = std::make_shared<PictureCache>();
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

Outcome Explorer::play(const std::vector<RouteStep>& path, const Node* from, int option) {
    // Each play starts from an empty save folder: the seen record must not carry one route's
    // pictures and scenes into another.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(saveDir_, ec)) fs::remove_all(entry.path(), ec);
    ++report_.replays;
    Playthrough p(gameDir_, saveDir_, coverage_, pictures_);
    int visits = 0;
    Outcome out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel,
                            options_.maxClicks);
    for (const RouteStep& step : path) {
        if (!out.decision) return out;  // cannot happen in a deterministic game
        if (out.decision->kind == DecisionKind::HotelMenu) ++visits;
        p.choose(*out.decision, step.option);
        out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel,
                        options_.maxClicks);
    }
    if (from != nullptr && out.decision) {
        if (out.decision->kind == DecisionKind::HotelMenu) ++visits;
        p.choose(*out.decision, option);
        out = p.advance(options_.hotel && visits < options_.hotelVisits, options_.hotel,
                        options_.maxClicks);
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
        if (const auto it = byKey_.find(key); it != byKey_.end())
            return "n" + std::to_string(it->second);
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
        auto& list = outcome.endClass == Outcome::Class::Ending  ? report_.endings
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
        if (progress)
            progress(static_cast<int>(nodes_.size() - waiting_.size()),
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
        report_.loops.push_back({"loop",
                                 node.decision.chunk + ":" + std::to_string(node.decision.line),
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
    if (!startEdge_.empty()) out << "  start -> " << startEdge_ << ";\n";
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const Decision& d = nodes_[i].decision;
        const char* what = d.kind == DecisionKind::Choice      ? "select"
                           : d.kind == DecisionKind::HotelMenu ? "hotel menu"
                                                               : "floor map";
        out << "  n" << i << " [label=\"" << dotText(d.chunk) << ":" << d.line << "\\n"
            << what << "\"];\n";
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

}  // namespace corvan
