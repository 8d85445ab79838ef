// The checker's passes over the whole script at once: the flags and values that are tested but
// set nowhere, or set and never read, and the loops of jumps that can run without showing
// anything.

#include <algorithm>
#include <functional>
#include <map>

#include "authoring/script_checker.h"
#include "authoring/variable_names.h"
#include "engine/command_keywords.h"
#include "engine/expressions.h"
#include "engine/script_search.h"

namespace corvan::script_check {

namespace {

const CommandKeyword* commandOf(const Line& l) {
    if (l.text[0] != '*') return nullptr;
    return matchCommandKeyword(l.text.data() + 1,
                               boundedLength(l.text.data() + 1, kLineCapacity - 1));
}

std::string_view argumentOf(const Line& l, int column) {
    if (column <= 0 || column >= kLineCapacity) return {};
    return bytesText(l.text.data() + column);
}

std::string_view untilBlank(std::string_view text) {
    return text.substr(0, text.find_first_of(" \t\r"));
}

std::string variableName(char letter, int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return letter + digits;
}

// Variables the game itself sets or reads, whatever the script does: the hotel's floor and
// floor change (V060, V061) and collected amount (V050), the cleared-game mark (V777, F999),
// the flag that keeps the system menu shut (F019), and the E values, which the seen record
// carries from one game to the next.
bool gameOwned(char letter, int number) {
    if (letter == 'E') return true;
    if (letter == 'V') return number == 50 || number == 60 || number == 61 || number == 777;
    return letter == 'F' && (number == 19 || number == 999);
}

}  // namespace

void Checker::checkVariables() {
    struct Use {
        int chunk = -1, line = 0;  // the first line that does it
        int count = 0;
    };
    std::map<std::string, Use> tested, set;
    auto note = [](std::map<std::string, Use>& uses, char letter, int number, int chunk, int line) {
        if (gameOwned(letter, number) || number < 0 || number >= (letter == 'F' ? 1024 : 1000))
            return;
        Use& use = uses[variableName(letter, number)];
        if (use.count++ == 0) use = {chunk, line, 1};
    };
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const int ci = static_cast<int>(c);
        for (std::size_t i = 0; i < chunks_[c].lines.size(); ++i) {
            const Line& l = chunks_[c].lines[i];
            const CommandKeyword* command = commandOf(l);
            if (command == nullptr) continue;
            const int line = static_cast<int>(i) + 1;
            const std::string_view arg = argumentOf(l, command->column);
            auto reads = [&](std::string_view text) {
                forEachVariableName(text, [&](char letter, int number, std::size_t) {
                    note(tested, letter, number, ci, line);
                });
            };
            switch (command->id) {
                // A flag number without digits is an error of its own (checkNumber).
                case CommandId::IfOn:
                case CommandId::IfOff:
                    if (!arg.empty() && arg[0] >= '0' && arg[0] <= '9')
                        note(tested, 'F', parseDecimal(arg), ci, line);
                    break;
                case CommandId::FlagOn:
                case CommandId::FlagOff:
                    if (!arg.empty() && arg[0] >= '0' && arg[0] <= '9')
                        note(set, 'F', parseDecimal(arg), ci, line);
                    break;
                case CommandId::If: reads(untilBlank(arg)); break;
                case CommandId::Calc: {
                    const std::string_view text = untilBlank(arg);
                    if (text.size() > 5) reads(text.substr(5));
                    forEachVariableName(text.substr(0, std::min<std::size_t>(text.size(), 4)),
                                        [&](char letter, int number, std::size_t at) {
                                            if (at == 0) note(set, letter, number, ci, line);
                                        });
                    break;
                }
                default: break;
            }
        }
    }
    for (const auto& [name, use] : tested) {
        if (set.contains(name)) continue;
        report(use.chunk, use.line, Severity::Warning,
               name + " is tested but no line sets it: it is always " +
                   (name[0] == 'F' ? "off" : "0"));
    }
    for (const auto& [name, use] : set) {
        if (tested.contains(name)) continue;
        report(use.chunk, use.line, Severity::Note, name + " is set but no line reads it");
    }
}

// Within each chunk, the lines that show nothing and wait for nothing (labels, comments, empty
// lines, jumps, flags and values, sounds) with the jumps between them: a cycle there is a loop
// the game can run for ever with nothing on the screen.
void Checker::checkSilentLoops() {
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const Chunk& chunk = chunks_[c];
        const int lines = static_cast<int>(chunk.lines.size());
        std::vector<std::vector<int>> next(static_cast<std::size_t>(lines));
        std::vector<bool> jump(static_cast<std::size_t>(lines), false);
        auto toLabel = [&](std::string_view label) {
            const int target = findLabelIn(chunk.bytes, 0, label);
            return target < 0 ? -1 : chunk.lineAt(target);
        };
        for (int i = 0; i < lines; ++i) {
            const Line& l = chunk.lines[static_cast<std::size_t>(i)];
            auto& out = next[static_cast<std::size_t>(i)];
            const std::uint8_t first = l.text[0];
            if (first == 0 || first == ';' || first == ':') {
                out.push_back(i + 1);
                continue;
            }
            const CommandKeyword* command = commandOf(l);
            if (command == nullptr) continue;  // text shows, unknown commands are errors
            const std::string_view arg = argumentOf(l, command->column);
            switch (command->id) {
                case CommandId::Go:
                    jump[static_cast<std::size_t>(i)] = true;
                    out.push_back(toLabel(arg) < 0 ? i + 1 : toLabel(arg));
                    break;
                case CommandId::IfOn:
                case CommandId::IfOff:
                case CommandId::If: {
                    const int column = command->id == CommandId::If
                                           ? ConditionLabelColumn(arg)
                                           : flagJumpLabelColumn(l.text.data(), command->column);
                    out.push_back(i + 1);
                    if (const int target = toLabel(argumentOf(l, column)); target >= 0) {
                        jump[static_cast<std::size_t>(i)] = true;
                        out.push_back(target);
                    }
                    break;
                }
                case CommandId::Calc:
                case CommandId::FlagOn:
                case CommandId::FlagOff:
                case CommandId::Music:
                case CommandId::Voice:
                case CommandId::Grb:
                case CommandId::Clrb: out.push_back(i + 1); break;
                default: break;
            }
        }
        // Tarjan's strongly connected components over the silent lines.
        std::vector<int> index(static_cast<std::size_t>(lines), -1), low(index), stack;
        std::vector<bool> onStack(static_cast<std::size_t>(lines), false);
        int counter = 0;
        std::function<void(int)> visitLine = [&](int v) {
            const auto u = static_cast<std::size_t>(v);
            index[u] = low[u] = counter++;
            stack.push_back(v);
            onStack[u] = true;
            for (int w : next[u]) {
                if (w < 0 || w >= lines) continue;
                const auto x = static_cast<std::size_t>(w);
                if (index[x] < 0) {
                    visitLine(w);
                    low[u] = std::min(low[u], low[x]);
                } else if (onStack[x]) {
                    low[u] = std::min(low[u], index[x]);
                }
            }
            if (low[u] != index[u]) return;
            std::vector<int> component;
            for (int w = -1; w != v;) {
                w = stack.back();
                stack.pop_back();
                onStack[static_cast<std::size_t>(w)] = false;
                component.push_back(w);
            }
            const bool cycle = component.size() > 1 ||
                               std::find(next[u].begin(), next[u].end(), v) != next[u].end();
            if (!cycle) return;
            std::sort(component.begin(), component.end());
            int at = component.back();
            for (int w : component) {
                if (jump[static_cast<std::size_t>(w)]) at = w;
            }
            report(static_cast<int>(c), at + 1, Severity::Warning,
                   "a loop of jumps (lines " + std::to_string(component.front() + 1) + " to " +
                       std::to_string(component.back() + 1) +
                       ") can run without showing anything: the game then goes round it for "
                       "ever");
        };
        for (int i = 0; i < lines; ++i) {
            if (index[static_cast<std::size_t>(i)] < 0) visitLine(i);
        }
    }
}

}  // namespace corvan::script_check
