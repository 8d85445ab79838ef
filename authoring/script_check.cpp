#include "authoring/script_check.h"

#include <algorithm>

#include "authoring/script_checker.h"
#include "engine/command_keywords.h"
#include "engine/expressions.h"
#include "engine/script_search.h"

namespace corvan {

namespace script_check {

Chunk splitChunk(const ChunkSource& source) {
    Chunk chunk;
    chunk.source = &source;
    chunk.name = cp932ToUtf8(source.name);
    chunk.bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(source.bytes.data()), source.bytes.size());
    std::size_t start = 0;
    while (start < chunk.bytes.size()) {
        std::size_t end = start;
        while (end < chunk.bytes.size() && chunk.bytes[end] != 0) ++end;
        Line line;
        line.offset = static_cast<std::int32_t>(start);
        line.length = end - start;
        std::copy_n(chunk.bytes.begin() + static_cast<std::ptrdiff_t>(start),
                    std::min(line.length, kMaxLineBytes), line.text.begin());
        chunk.lines.push_back(line);
        start = end + 1;
    }
    return chunk;
}

Checker::Checker(const ScriptCheckInput& input) : input_(input) {
    for (std::size_t i = 0; i < input.chunks.size(); ++i) {
        chunks_.push_back(splitChunk(input.chunks[i]));
        if (i < input.files.size()) chunks_.back().file = input.files[i];
    }
    // Chunks are found by the archive's own lookup, over a directory of their names.
    std::vector<std::uint8_t> directory(Archive::kDirectorySize, 0);
    for (std::size_t i = 0; i < chunks_.size() && i < Archive::kEntryCount; ++i) {
        const std::string& name = chunks_[i].source->name;
        std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 8),
                    directory.begin() + static_cast<std::ptrdiff_t>(i * Archive::kEntrySize));
    }
    archive_.setDirectory(directory);
    reached_.resize(chunks_.size());
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        reached_[i].assign(chunks_[i].lines.size(), false);
    }
    entered_.assign(chunks_.size(), false);
}

void Checker::report(int chunk, int line, Severity severity, std::string message) {
    if (!reported_.emplace(chunk, line, message).second) return;
    const Chunk& c = chunks_[chunk];
    findings_.push_back({c.name, c.file, line, severity, std::move(message)});
}

void Checker::enter(int chunk, int line, const Flow& flow) {
    if (!following_ || chunk < 0) return;
    entered_[chunk] = true;
    const std::uint64_t key = static_cast<std::uint64_t>(chunk) << 48 |
                              static_cast<std::uint64_t>(line) << 24 | flow.key();
    if (visited_.insert(key).second) work_.push_back({chunk, line, flow});
}

void Checker::enterFixed(std::string_view name, const Flow& flow) {
    const int chunk = findChunk(name);
    if (chunk >= 0) enter(chunk, 0, flow);
}

void Checker::jump(int chunk, std::int32_t target, const Flow& flow) {
    const int line = chunks_[chunk].lineAt(target);
    // The label's own line counts as reached: a jump lands on the line after it.
    if (following_ && line > 0) reached_[chunk][line - 1] = true;
    enter(chunk, line, flow);
}

// Where a jump to `label` searched from `from` lands, -1 when nowhere (an error). A label that
// only begins with the name, or a colon inside another line, is what the game finds too; the
// author hears of it.
int Checker::findJumpTarget(int chunk, int line, std::string_view label, std::int32_t from) {
    const Chunk& c = chunks_[chunk];
    const int target = findLabelIn(c.bytes, from, label);
    if (target < 0) {
        report(chunk, line + 1, Severity::Error,
               "no label " + inQuotes(label) + " in the chunk: the jump falls through");
        return -1;
    }
    const int labelLine = c.lineAt(target) - 1;
    const Line& found = c.lines[static_cast<std::size_t>(std::max(labelLine, 0))];
    const std::string_view name = label.substr(0, kMaxLabelLength);
    if (found.text[0] == ':' && equalIgnoringAsciiCase(bytesText(found.text.data() + 1), name)) {
        return target;
    }
    if (found.text[0] == ':') {
        report(chunk, line + 1, Severity::Warning,
               "the label " + inQuotes(label) +
                   " is found as :" + cp932ToUtf8(bytesText(found.text.data() + 1)) + " (line " +
                   std::to_string(labelLine + 1) + "): labels match by their beginning");
    } else {
        report(chunk, line + 1, Severity::Warning,
               "the label " + inQuotes(label) + " is found as a colon inside line " +
                   std::to_string(labelLine + 1) + ": the game searches labels byte by byte");
    }
    return target;
}

std::vector<Finding> Checker::run() {
    if (findChunk("main") < 0) {
        findings_.push_back(
            {"main", "", 0, Severity::Error, "the game has no chunk main: nothing starts"});
    }
    const Flow fresh = Flow::freshChapter();
    enterFixed("main", fresh);
    enterFixed("SAVE", fresh);
    enterFixed("LOAD", fresh);
    while (!work_.empty()) {
        const Item item = work_.front();
        work_.pop_front();
        visit(item.chunk, item.line, item.flow);
    }
    checkHotel();
    reportUnreached();
    checkVariables();
    checkSilentLoops();

    std::vector<Finding> all = input_.readProblems;
    all.insert(all.end(), findings_.begin(), findings_.end());
    // In chunk order, then line order; the read problems of a chunk first.
    std::map<std::string, std::size_t> order;
    for (std::size_t i = 0; i < chunks_.size(); ++i) order.emplace(chunks_[i].name, i);
    std::stable_sort(all.begin(), all.end(), [&](const Finding& a, const Finding& b) {
        const auto rank = [&](const Finding& f) {
            const auto it = order.find(f.chunk);
            return it == order.end() ? std::size_t{0} : it->second + 1;
        };
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        return a.line < b.line;
    });
    return all;
}

// Lines no path reaches are still read for the faults of their own (a misspelt command, a
// missing label or file), and unreached labels and chunks are named.
void Checker::reportUnreached() {
    following_ = false;
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const Chunk& chunk = chunks_[c];
        const int index = static_cast<int>(c);
        const bool messages = equalIgnoringAsciiCase(chunk.source->name, kMessageChunk);
        if (!entered_[c] && !messages) {
            report(index, 0, Severity::Warning,
                   "nothing starts this chunk: no chain, call or fixed entry reaches it");
        }
        for (std::size_t i = 0; i < chunk.lines.size(); ++i) {
            if (reached_[c][i]) continue;
            const Line& line = chunk.lines[i];
            if (entered_[c] && line.text[0] == ':' && line.text[1] != 0 && !messages) {
                report(
                    index, static_cast<int>(i) + 1, Severity::Warning,
                    "nothing reaches the label :" + cp932ToUtf8(bytesText(line.text.data() + 1)));
            }
            visit(index, static_cast<int>(i), Flow{});
        }
    }
}

void Checker::visit(int chunk, int line, Flow flow) {
    const Chunk& c = chunks_[chunk];
    if (line >= static_cast<int>(c.lines.size())) {
        if (flow.inCall && !flow.alt && following_ && !c.lines.empty()) {
            report(chunk, static_cast<int>(c.lines.size()), Severity::Warning,
                   "the chunk is called but can run off its end without *end: the story then "
                   "stops");
        }
        return;
    }
    if (following_) reached_[chunk][line] = true;
    const Line& l = c.lines[line];
    // Script files have had their long lines named when they were read.
    if (l.length > kMaxLineBytes && c.file.empty()) {
        report(chunk, line + 1, Severity::Error,
               std::to_string(l.length) +
                   " bytes, more than the 255 a line may have: the rest "
                   "is never read");
    }
    const std::uint8_t first = l.text[0];
    if (first == 0) {
        flow.endRow(flow.alt ? kColumnCap : kRowCap);
        enter(chunk, line + 1, flow);
        return;
    }
    if (first == ';') {
        enter(chunk, line + 1, flow);
        return;
    }
    if (first == ':') {
        if (flow.alt) {
            enter(chunk, line + 1, flow);
            return;
        }
        if (flow.caseBranch) {
            flow.caseBranch = false;
            static constexpr std::uint8_t kEnd[] = {'e', 'n', 'd'};
            static constexpr std::uint8_t kCase[] = {'C', 'A', 'S', 'E'};
            if (!equalBytesIgnoringAsciiCase(l.text.data() + 1, kEnd, 3) &&
                !equalBytesIgnoringAsciiCase(l.text.data() + 1, kCase, 4)) {
                report(chunk, line + 1, Severity::Warning,
                       "the label :" + cp932ToUtf8(bytesText(l.text.data() + 1)) +
                           " is inside a choice's branch: reaching it ends the branch, and the "
                           "game goes on at :end");
            }
            if (!equalBytesIgnoringAsciiCase(l.text.data() + 1, kEnd, 3)) {
                const std::int32_t next = line + 1 < static_cast<int>(c.lines.size())
                                              ? c.lines[line + 1].offset
                                              : static_cast<std::int32_t>(c.bytes.size());
                const int target = findLabelIn(c.bytes, next, "end");
                if (target < 0) {
                    report(chunk, line + 1, Severity::Error,
                           "a choice's branch ends at this label, but no label end follows it");
                } else if (!flow.inMessage) {
                    jump(chunk, target, flow);
                    return;
                }
            }
        }
        // A message section ends at its next label: the interrupted chunk goes on.
        if (!flow.inMessage) enter(chunk, line + 1, flow);
        return;
    }
    if (first == '*') {
        if (flow.alt) {
            visitAltCommand(chunk, line, flow);
        } else {
            visitCommand(chunk, line, flow);
        }
        return;
    }
    enter(chunk, line + 1,
          flow.alt ? visitAltText(chunk, line, flow) : visitText(chunk, line, flow));
}

void Checker::visitCommand(int chunk, int line, const Flow& flow) {
    const Line& l = lineOf(chunk, line);
    const CommandKeyword* command =
        matchCommandKeyword(l.text.data() + 1, boundedLength(l.text.data() + 1, kLineCapacity - 1));
    const Flow next = flow;
    if (command == nullptr) {
        const std::string_view word = bytesText(l.text.data() + 1);
        report(chunk, line + 1, Severity::Error,
               "unknown command *" + cp932ToUtf8(word.substr(0, word.find(' '))) +
                   ": the game skips the line (a command and its argument are parted by one "
                   "blank)");
        enter(chunk, line + 1, next);
        return;
    }
    const int column = command->column;
    checkNumber(chunk, line, *command);
    Flow jumped = flow;
    switch (command->id) {
        case CommandId::Gra:
        case CommandId::Grb: checkPicture(chunk, line, argument(chunk, line, column)); break;
        case CommandId::Music: checkMusic(chunk, line, number(chunk, line, column)); break;
        case CommandId::Voice: checkVoice(chunk, line, argument(chunk, line, column)); break;
        case CommandId::Go: {
            jumped.caseBranch = false;
            const int target = findJumpTarget(chunk, line, argument(chunk, line, column), 0);
            if (target >= 0) {
                jump(chunk, target, jumped);
                return;
            }
            enter(chunk, line + 1, jumped);
            return;
        }
        case CommandId::IfOn:
        case CommandId::IfOff:
        case CommandId::If: {
            const int labelColumn = command->id == CommandId::If
                                        ? ConditionLabelColumn(argument(chunk, line, column))
                                        : flagJumpLabelColumn(l.text.data(), column);
            if (labelColumn <= 0 || labelColumn >= kLineCapacity) {
                report(
                    chunk, line + 1, Severity::Warning,
                    command->id == CommandId::If
                        ? "*if never jumps: it needs a comparison (= < > !) and one blank "
                          "before its label"
                        : "*" +
                              std::string(command->keyword.substr(0, command->keyword.size() - 1)) +
                              " never jumps: the label must follow the flag number after "
                              "one blank, by column 15");
            } else {
                const std::string_view label = argument(chunk, line, labelColumn);
                if (command->id == CommandId::If && label.find(' ') != std::string_view::npos &&
                    findLabelIn(chunks_[chunk].bytes, 0, label) < 0) {
                    report(chunk, line + 1, Severity::Error,
                           "*if takes " + inQuotes(label) +
                               " for its label: write the condition without blanks (V001=3)");
                    break;
                }
                const int target = findJumpTarget(chunk, line, label, 0);
                if (target >= 0) jump(chunk, target, flow);
            }
            break;
        }
        case CommandId::Select: visitSelect(chunk, line, flow, number(chunk, line, column)); return;
        case CommandId::Chain: {
            const std::string_view name = argument(chunk, line, column);
            const int target = findChunk(name);
            if (target < 0) {
                report(chunk, line + 1, Severity::Error,
                       "*chain to " + inQuotes(name) +
                           ", a chunk the game does not have: the story stays in this chunk");
                enter(chunk, line + 1, Flow::freshChapter());
            } else {
                enter(target, 0, Flow::freshChapter());
            }
            return;
        }
        case CommandId::Call: {
            const std::string_view name = argument(chunk, line, column);
            const int target = findChunk(name);
            if (target < 0) {
                report(chunk, line + 1, Severity::Error,
                       "*call to " + inQuotes(name) + ", a chunk the game does not have");
                break;
            }
            Flow called = flow;
            called.inCall = true;
            called.caseBranch = called.inMessage = false;
            enter(target, 0, called);
            // Back from the call the caller runs with no caller of its own.
            Flow back = flow.penUnknown();
            back.inCall = back.caseBranch = false;
            enter(chunk, line + 1, back);
            return;
        }
        case CommandId::Mess: {
            const std::int32_t section = number(chunk, line, column);
            const int messages = findChunk(kMessageChunk);
            if (messages < 0) {
                report(chunk, line + 1, Severity::Error,
                       "*mess needs the chunk messys, which the game does not have");
                break;
            }
            const std::int32_t start = messageSectionStart(chunks_[messages].bytes, section);
            if (start >= static_cast<std::int32_t>(chunks_[messages].bytes.size())) {
                report(chunk, line + 1, Severity::Error,
                       "messys has no section " + std::to_string(section) +
                           " (section N follows the N-th line holding only ':')");
                break;
            }
            Flow section_ = flow;
            section_.inMessage = true;
            section_.caseBranch = false;
            enter(messages, chunks_[messages].lineAt(start), section_);
            enter(chunk, line + 1, flow.penUnknown());
            return;
        }
        case CommandId::End:
            if (flow.inCall) return;
            break;
        case CommandId::Mode:
            if (number(chunk, line, column) != 0) {
                Flow alt = flow.penUnknown();
                alt.alt = true;
                enter(chunk, line + 1, alt);
                return;
            }
            break;
        case CommandId::Load:
            if (findChunk("LOAD") < 0) {
                report(chunk, line + 1, Severity::Error,
                       "*load opens the slot list, and a load starts the chunk LOAD, which the "
                       "game does not have");
            }
            break;
        case CommandId::Move: enterHotel(chunk, line); return;
        case CommandId::View: checkView(chunk, line, number(chunk, line, column)); break;
        default: break;
    }
    enter(chunk, line + 1, next);
}

// A number argument is read digit by digit: no digit, or full-width ones, and the game reads 0.
void Checker::checkNumber(int chunk, int line, const CommandKeyword& command) {
    switch (command.id) {
        case CommandId::Music:
        case CommandId::FlagOn:
        case CommandId::FlagOff:
        case CommandId::IfOn:
        case CommandId::IfOff:
        case CommandId::Mess:
        case CommandId::Mode:
        case CommandId::View: break;
        case CommandId::Calc: {
            // The target is a letter and three digits; the expression starts two bytes on.
            const std::string_view text = argument(chunk, line, command.column);
            const auto digit = [&](std::size_t i) {
                return i < text.size() && text[i] >= '0' && text[i] <= '9';
            };
            const char letter = text.empty() ? 0 : static_cast<char>(text[0] & ~0x20);
            if ((letter != 'E' && letter != 'F' && letter != 'S' && letter != 'V') || !digit(1) ||
                !digit(2) || !digit(3) || digit(4)) {
                report(chunk, line + 1, Severity::Error,
                       "*calc " + cp932ToUtf8(text.substr(0, text.find(' '))) +
                           ": the target must be a letter (E, F, S, V) and three digits, as in "
                           "V001=V001+1: the game reads this one wrongly");
            }
            return;
        }
        default: return;
    }
    const std::string_view text = argument(chunk, line, command.column);
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') return;
    const std::string keyword(command.keyword.substr(0, command.keyword.find(' ')));
    const bool wide = text.size() >= 2 && static_cast<std::uint8_t>(text[0]) == 0x82 &&
                      static_cast<std::uint8_t>(text[1]) >= 0x4F &&
                      static_cast<std::uint8_t>(text[1]) <= 0x58;
    report(chunk, line + 1, Severity::Error,
           "*" + keyword + " " + cp932ToUtf8(text.substr(0, text.find(' '))) +
               (wide ? ": full-width digits, which the game reads as 0: write 0 to 9"
                     : ": the number has no digits, so the game reads 0"));
}

void Checker::visitSelect(int chunk, int line, const Flow& flow, std::int32_t count) {
    const Chunk& c = chunks_[chunk];
    if (count < 1) {
        report(chunk, line + 1, Severity::Error,
               "*select " + std::to_string(count) + ": no menu opens");
        enter(chunk, line + 1, flow);
        return;
    }
    if (count > kMaxChoiceRows) {
        // The game shows nine rows; what they need is checked no further.
        report(chunk, line + 1, Severity::Error,
               "*select " + std::to_string(count) + ": a menu has at most 9 rows (CASE1 to CASE9)");
        return;
    }
    for (int k = 1; k <= count; ++k) {
        const int row = line + k;
        if (row >= static_cast<int>(c.lines.size())) {
            report(chunk, line + 1, Severity::Error,
                   "*select " + std::to_string(count) + " has only " + std::to_string(k - 1) +
                       " rows before the chunk ends");
            break;
        }
        const Line& text = c.lines[row];
        if (text.text[0] == ':' || text.text[0] == '*' || text.text[0] == ';' ||
            text.text[0] == 0) {
            report(chunk, line + 1, Severity::Error,
                   "*select " + std::to_string(count) + " has only " + std::to_string(k - 1) +
                       " rows: line " + std::to_string(row + 1) + " would be shown as row " +
                       std::to_string(k));
            break;
        }
        if (text.length > kMaxChoiceBytes) {
            report(chunk, row + 1, Severity::Warning,
                   "the choice is " + std::to_string(text.length) +
                       " bytes: the menu shows "
                       "its first 31");
        }
        if (following_) reached_[chunk][row] = true;
    }
    const std::int32_t firstRow = line + 1 < static_cast<int>(c.lines.size())
                                      ? c.lines[line + 1].offset
                                      : static_cast<std::int32_t>(c.bytes.size());
    Flow branch = flow;
    branch.caseBranch = true;
    for (int k = 1; k <= count; ++k) {
        const std::string label = "CASE" + std::to_string(k);
        if (findLabelIn(c.bytes, firstRow, label) < 0) {
            report(chunk, line + 1, Severity::Error,
                   "*select " + std::to_string(count) + " has no label " + label +
                       " after it: picking row " + std::to_string(k) + " reads the rows as text");
            enter(chunk, line + 1, branch);
            continue;
        }
        jump(chunk, findJumpTarget(chunk, line, label, firstRow), branch);
    }
}

// In the alternate text mode only *gra, *music, *end and *mode do anything, matched by their
// beginning; every other line starting with '*' is passed over.
void Checker::visitAltCommand(int chunk, int line, const Flow& flow) {
    const Line& l = lineOf(chunk, line);
    const std::uint8_t* word = l.text.data() + 1;
    auto startsWith = [&](std::string_view keyword) {
        return equalBytesIgnoringAsciiCase(
            word, reinterpret_cast<const std::uint8_t*>(keyword.data()), keyword.size());
    };
    Flow next = flow;
    if (startsWith("gra")) {
        checkPicture(chunk, line, argument(chunk, line, 5));
    } else if (startsWith("music")) {
        checkMusic(chunk, line, number(chunk, line, 7));
    } else if (startsWith("end")) {
        if (flow.inCall) return;
        next = flow.penUnknown();
        next.alt = false;
    } else if (startsWith("mode")) {
        next = flow.penUnknown();
        next.alt = false;
    } else {
        const CommandKeyword* command =
            matchCommandKeyword(word, boundedLength(word, kLineCapacity - 1));
        const std::string_view text = bytesText(word);
        report(chunk, line + 1, command != nullptr ? Severity::Warning : Severity::Error,
               command != nullptr
                   ? "*" + cp932ToUtf8(text.substr(0, text.find(' '))) +
                         " does nothing in the alternate text mode of *mode: only *gra, *music, "
                         "*end and *mode work there"
                   : "unknown command *" + cp932ToUtf8(text.substr(0, text.find(' '))) +
                         ": the game skips the line");
    }
    enter(chunk, line + 1, next);
}

}  // namespace script_check

std::vector<Finding> checkScripts(const ScriptCheckInput& input) {
    return script_check::Checker(input).run();
}

bool hasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace corvan
