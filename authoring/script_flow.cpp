#include "authoring/script_flow.h"

#include <algorithm>
#include <deque>

#include "authoring/script_checker.h"
#include "authoring/variable_names.h"
#include "engine/ascii.h"
#include "engine/command_keywords.h"
#include "engine/expressions.h"
#include "engine/script_search.h"
#include "hotel/gallery_pictures.h"
#include "hotel/hotel_plates.h"

namespace corvan::explore {

namespace {

using script_check::bytesText;
using script_check::Chunk;

constexpr int kFloorValue = 60;        // the floor map reads V60 for the plates it offers
constexpr int kFloorChangeValue = 61;  // and sets V61 before a floor's chunk starts

// Marks every variable named in `text` as read. Reading a little too much only keeps two
// states apart.
void readVariables(std::string_view text, VariableSet& reads) {
    forEachVariableName(text, [&](char letter, int number, std::size_t) {
        const auto n = static_cast<std::size_t>(number);
        if (letter == 'F' && number < 1024) reads.flags.set(n);
        if (letter == 'V' && number < 1000) reads.values.set(n);
        if (letter == 'S' && number < 1000) reads.system.set(n);
    });
}

std::string_view untilBlank(std::string_view text) {
    return text.substr(0, text.find_first_of(" \t\r"));
}

}  // namespace

ScriptFlow::ScriptFlow(const std::vector<ChunkSource>& chunks) {
    std::vector<std::uint8_t> directory(Archive::kDirectorySize, 0);
    for (std::size_t i = 0; i < chunks.size() && i < Archive::kEntryCount; ++i) {
        std::copy_n(chunks[i].name.begin(), std::min<std::size_t>(chunks[i].name.size(), 8),
                    directory.begin() + static_cast<std::ptrdiff_t>(i * Archive::kEntrySize));
    }
    archive_.setDirectory(directory);
    build(chunks);
    before_.resize(nodes_.size());
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        for (int next : nodes_[n].next)
            before_[static_cast<std::size_t>(next)].push_back(static_cast<int>(n));
    }
    solveLiveness();
    found_.assign(nodes_.size(), false);
    solveDistances();
}

int ScriptFlow::chunkIndex(std::string_view name) const {
    const int index = archive_.findEntry(name);
    return index >= 0 && index < static_cast<int>(firstNode_.size()) ? index : -1;
}

int ScriptFlow::lineAt(int chunk, std::int32_t offset) const {
    const auto& offsets = lineOffsets_[static_cast<std::size_t>(chunk)];
    const auto it = std::upper_bound(offsets.begin(), offsets.end(), offset);
    return std::max(static_cast<int>(it - offsets.begin()) - 1, 0);
}

const VariableSet& ScriptFlow::liveAt(int chunk, int line) const {
    const int lines = static_cast<int>(lineOffsets_[static_cast<std::size_t>(chunk)].size());
    return live_[static_cast<std::size_t>(id(chunk, std::clamp(line, 0, lines)))];
}

bool ScriptFlow::isEnding(int chunk, int line) const {
    return nodes_[static_cast<std::size_t>(id(chunk, line))].ending;
}

void ScriptFlow::endingFound(int chunk, int line) {
    const auto node = static_cast<std::size_t>(id(chunk, line));
    if (found_[node] || !nodes_[node].ending) return;
    found_[node] = true;
    solveDistances();
}

int ScriptFlow::distanceToEnding(int chunk, int line) const {
    const int lines = static_cast<int>(lineOffsets_[static_cast<std::size_t>(chunk)].size());
    return distance_[static_cast<std::size_t>(id(chunk, std::clamp(line, 0, lines)))];
}

void ScriptFlow::build(const std::vector<ChunkSource>& sources) {
    std::vector<Chunk> chunks;
    for (const ChunkSource& source : sources) {
        chunks.push_back(script_check::splitChunk(source));
        firstNode_.push_back(static_cast<int>(nodes_.size()));
        std::vector<std::int32_t> offsets;
        for (const auto& line : chunks.back().lines) offsets.push_back(line.offset);
        lineOffsets_.push_back(std::move(offsets));
        nodes_.resize(nodes_.size() + chunks.back().lines.size() + 1);
    }
    auto startOf = [&](std::string_view name) {
        const int chunk = chunkIndex(name);
        return chunk < 0 ? -1 : id(chunk, 0);
    };
    // The hotel's places. A click on a floor's plate sets V061 (the change of floor) and V060
    // before the floor's chunk starts: one node more, after the chunks' own, stands for it.
    std::vector<int> places;
    const int floorClick = static_cast<int>(nodes_.size());
    nodes_.emplace_back();
    nodes_.back().reads.values.set(kFloorValue);
    nodes_.back().kills = 'V';
    nodes_.back().killed = kFloorChangeValue;
    for (std::string_view place : hotel::kPlaceChunks) {
        const int start = startOf(place);
        if (start < 0) continue;
        if (place == hotel::kFloorChunk) {
            nodes_[static_cast<std::size_t>(floorClick)].next.push_back(start);
            places.push_back(floorClick);
            continue;
        }
        places.push_back(start);
    }
    std::vector<int> scenes;
    for (std::string_view scene : gallery::kSceneChunks) {
        if (const int start = scene.empty() ? -1 : startOf(scene); start >= 0)
            scenes.push_back(start);
    }
    const int messages = chunkIndex(script_check::kMessageChunk);

    for (std::size_t c = 0; c < chunks.size(); ++c) {
        const Chunk& chunk = chunks[c];
        const int ci = static_cast<int>(c);
        const int lines = static_cast<int>(chunk.lines.size());
        nodes_[static_cast<std::size_t>(id(ci, lines))].ending = true;  // runs off its end
        // In the alternate text mode of `mode` most commands are passed over.
        const bool altMode = std::any_of(chunk.lines.begin(), chunk.lines.end(), [](const auto& l) {
            return bytesText(l.text.data()).starts_with("*mode ") && l.text[6] != '0';
        });
        auto toLabel = [&](std::string_view label, std::int32_t from) {
            const int target = findLabelIn(chunk.bytes, from, label);
            return target < 0 ? -1 : id(ci, chunk.lineAt(target));
        };
        for (int l = 0; l < lines; ++l) {
            Node& node = nodes_[static_cast<std::size_t>(id(ci, l))];
            const auto& text = chunk.lines[static_cast<std::size_t>(l)].text;
            const int next = id(ci, l + 1);
            auto add = [&node](int target) {
                if (target >= 0) node.next.push_back(target);
            };
            auto argument = [&](int column) {
                return column > 0 && column < script_check::kLineCapacity
                           ? bytesText(text.data() + column)
                           : std::string_view{};
            };
            if (text[0] == ':') {
                add(next);
                // A label ends a choice's branch (to the label "end" after it) and a message
                // section (back to the line after `mess`).
                const std::int32_t after = l + 1 < lines
                                               ? chunk.lines[static_cast<std::size_t>(l + 1)].offset
                                               : static_cast<std::int32_t>(chunk.bytes.size());
                add(toLabel("end", after));
                continue;
            }
            if (text[0] != '*') {
                add(next);
                continue;
            }
            const CommandKeyword* command = matchCommandKeyword(
                text.data() + 1, boundedLength(text.data() + 1, script_check::kLineCapacity - 1));
            if (command == nullptr || altMode) add(next);
            if (command == nullptr) continue;
            const std::string_view arg = argument(command->column);
            const std::int32_t number = parseDecimal(arg);
            switch (command->id) {
                case CommandId::Go: {
                    const int target = toLabel(arg, 0);
                    add(target < 0 ? next : target);
                    break;
                }
                case CommandId::IfOn:
                case CommandId::IfOff:
                    if (number >= 0 && number < 1024) node.reads.flags.set(number);
                    add(next);
                    add(toLabel(argument(flagJumpLabelColumn(text.data(), command->column)), 0));
                    break;
                case CommandId::If: {
                    readVariables(untilBlank(arg), node.reads);
                    add(next);
                    add(toLabel(argument(ConditionLabelColumn(arg)), 0));
                    break;
                }
                case CommandId::Calc: {
                    const std::string_view target = untilBlank(arg);
                    if (target.size() > 5) readVariables(target.substr(5), node.reads);
                    const char letter = target.empty() ? 0 : static_cast<char>(target[0] & ~0x20);
                    const std::int32_t n =
                        parseDecimal(target.substr(std::min<std::size_t>(1, target.size())));
                    if ((letter == 'V' || letter == 'S') && n >= 0 && n < 1000) {
                        node.kills = letter;
                        node.killed = n;
                    }
                    add(next);
                    break;
                }
                case CommandId::FlagOn:
                case CommandId::FlagOff:
                    if (number >= 0 && number < 1024) {
                        node.kills = 'F';
                        node.killed = number;
                    }
                    add(next);
                    break;
                case CommandId::Select: {
                    const std::int32_t rows =
                        l + 1 < lines ? chunk.lines[static_cast<std::size_t>(l + 1)].offset
                                      : static_cast<std::int32_t>(chunk.bytes.size());
                    for (int k = 1; k <= std::clamp(number, 0, 9); ++k) {
                        const int target = toLabel("CASE" + std::to_string(k), rows);
                        add(target < 0 ? next : target);
                    }
                    if (number < 1) add(next);
                    break;
                }
                case CommandId::Chain: {
                    const int target = startOf(arg);
                    add(target < 0 ? next : target);
                    break;
                }
                case CommandId::Call: {
                    add(next);
                    if (const int callee = chunkIndex(arg); callee >= 0) add(id(callee, 0));
                    break;
                }
                case CommandId::Mess:
                    add(next);
                    if (messages >= 0) {
                        const std::int32_t start = messageSectionStart(
                            chunks[static_cast<std::size_t>(messages)].bytes, number);
                        add(id(messages, lineAt(messages, start)));
                    }
                    break;
                case CommandId::End: add(next); break;
                case CommandId::Move:
                    node.reads.values.set(kFloorValue);
                    for (int place : places) add(place);
                    break;
                case CommandId::Load:
                    // A cancelled slot list goes on, or back to the hotel once it has been up.
                    add(next);
                    for (int place : places) add(place);
                    add(startOf("LOAD"));
                    break;
                case CommandId::View:
                    add(next);
                    if (number == 3) {
                        for (int scene : scenes) add(scene);
                    }
                    break;
                case CommandId::GameClr:
                    // The explorer ends a route at a cleared game: nothing after it is read on
                    // any route it compares.
                    node.ending = true;
                    break;
                case CommandId::GameInit:
                    node.kills = 'A';  // every flag, V and S value
                    add(next);
                    break;
                default: add(next); break;
            }
        }
    }
    for (Node& node : nodes_) {
        std::sort(node.next.begin(), node.next.end());
        node.next.erase(std::unique(node.next.begin(), node.next.end()), node.next.end());
    }
}

// live(n) = reads(n) + (live of every next line, less what n overwrites), to a fixed point.
void ScriptFlow::solveLiveness() {
    live_.assign(nodes_.size(), {});
    std::deque<int> work;
    std::vector<bool> queued(nodes_.size(), true);
    for (std::size_t n = nodes_.size(); n-- > 0;) work.push_back(static_cast<int>(n));
    while (!work.empty()) {
        const auto n = static_cast<std::size_t>(work.front());
        work.pop_front();
        queued[n] = false;
        const Node& node = nodes_[n];
        VariableSet live;
        for (int next : node.next) live |= live_[static_cast<std::size_t>(next)];
        if (node.kills == 'A') live = {};
        if (node.kills == 'F') live.flags.reset(static_cast<std::size_t>(node.killed));
        if (node.kills == 'V') live.values.reset(static_cast<std::size_t>(node.killed));
        if (node.kills == 'S') live.system.reset(static_cast<std::size_t>(node.killed));
        live |= node.reads;
        if (live == live_[n]) continue;
        live_[n] = live;
        for (int prev : before_[n]) {
            if (!queued[static_cast<std::size_t>(prev)]) {
                queued[static_cast<std::size_t>(prev)] = true;
                work.push_back(prev);
            }
        }
    }
}

// A breadth-first walk backwards from the endings not found yet.
void ScriptFlow::solveDistances() {
    distance_.assign(nodes_.size(), kFar);
    std::deque<int> work;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        if (nodes_[n].ending && !found_[n]) {
            distance_[n] = 0;
            work.push_back(static_cast<int>(n));
        }
    }
    while (!work.empty()) {
        const auto n = static_cast<std::size_t>(work.front());
        work.pop_front();
        for (int prev : before_[n]) {
            auto& d = distance_[static_cast<std::size_t>(prev)];
            if (d == kFar) {
                d = distance_[n] + 1;
                work.push_back(prev);
            }
        }
    }
}

}  // namespace corvan::explore
