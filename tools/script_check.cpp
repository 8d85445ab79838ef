#include "tools/script_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <span>
#include <string_view>
#include <unordered_set>

#include "engine/archive.h"
#include "engine/ascii.h"
#include "engine/command_keywords.h"
#include "engine/cp932.h"
#include "engine/expressions.h"
#include "engine/file_lookup.h"
#include "engine/message_tags.h"
#include "engine/script_search.h"
#include "hotel/gallery_pictures.h"
#include "hotel/hotel_plates.h"
#include "render/layers.h"
#include "render/picture_argument.h"
#include "sound/music_voice.h"

namespace corvan {

namespace {

constexpr int kLineCapacity = 256;  // the interpreter's line buffer: 255 bytes and a NUL
constexpr std::size_t kMaxLineBytes = kLineCapacity - 1;
// Text is drawn 12 pixels in from the frame's left edge on 8-pixel cells (its shadow 2 pixels
// further); the frame's see-through inside ends as far from its right edge.
constexpr int kTextInset = 12;
constexpr int kCellWidth = 8;
constexpr int kFrameColumns = (kFrameWidth - 2 * kTextInset) / kCellWidth;  // 69
constexpr int kFrameRows = 4;
// The alternate text mode draws each character in a 32x32 cell on the picture, one column every
// 14 pixels from x = 32 and one row every 40 pixels from y = 20.
constexpr int kAltColumns = (kScreenWidth - 64) / 14 + 1;  // the last cell starts in column 41
constexpr int kAltRows = (kScreenHeight - 52) / 40 + 1;    // the last row is row 10
constexpr std::size_t kMaxChoiceBytes = 31;
constexpr int kMaxChoiceRows = 9;
constexpr std::uint8_t kColumnCap = 255;
constexpr std::uint8_t kRowCap = kFrameRows + 1;
constexpr std::string_view kMessageChunk = "messys";

std::string_view bytesText(const std::uint8_t* text) {
    return {reinterpret_cast<const char*>(text), boundedLength(text, kLineCapacity)};
}

bool isHalfWidthKana(std::uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

std::string inQuotes(std::string_view cp932) { return "\"" + cp932ToUtf8(cp932) + "\""; }

// What the checker knows of the game's state when a line runs: the interpreter's mode and the
// text frame's cursor ("pen"). An unknown pen (after a call returns, say) asks for no page
// warnings until a page starts afresh.
struct Flow {
    bool alt = false;         // the alternate text mode of `mode`
    bool inCall = false;      // `end` returns to a caller
    bool inMessage = false;   // a message section: its next label returns
    bool caseBranch = false;  // a choice's branch: its next label skips to "end"
    bool penKnown = false;
    bool frameClosed = false;  // the first character opens the frame, resetting size and colour
    bool large = false;
    std::uint8_t row = 0;
    std::uint8_t column = 0;

    static Flow freshChapter() {
        Flow f;
        f.penKnown = true;
        f.frameClosed = true;
        return f;
    }
    Flow penUnknown() const {
        Flow f = *this;
        f.penKnown = false;
        f.frameClosed = f.large = false;
        f.row = f.column = 0;
        return f;
    }
    // The page after a click on ▼, or after ▽: an open, empty frame.
    Flow newPage() const {
        Flow f = *this;
        f.penKnown = true;
        f.frameClosed = f.large = false;
        f.row = f.column = 0;
        return f;
    }
    std::uint32_t key() const {
        return static_cast<std::uint32_t>(alt) | inCall << 1 | inMessage << 2 | caseBranch << 3 |
               penKnown << 4 | frameClosed << 5 | large << 6 | row << 7 | column << 15;
    }
};

struct Line {
    std::int32_t offset = 0;
    std::size_t length = 0;  // bytes before the line's NUL, in full
    std::array<std::uint8_t, kLineCapacity> text{};  // as the interpreter's line buffer holds it
};

struct Chunk {
    const ChunkSource* source = nullptr;
    std::string name;  // UTF-8
    std::string file;
    std::span<const std::uint8_t> bytes;
    std::vector<Line> lines;

    // The line that starts at `offset`; the line count at the chunk's end.
    int lineAt(std::int32_t offset) const {
        const auto it = std::lower_bound(
            lines.begin(), lines.end(), offset,
            [](const Line& line, std::int32_t value) { return line.offset < value; });
        return static_cast<int>(it - lines.begin());
    }
};

Chunk splitChunk(const ChunkSource& source) {
    Chunk chunk;
    chunk.source = &source;
    chunk.name = cp932ToUtf8(source.name);
    chunk.bytes = std::span(reinterpret_cast<const std::uint8_t*>(source.bytes.data()),
                            source.bytes.size());
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

class Checker {
public:
    explicit Checker(const ScriptCheckInput& input) : input_(input) {
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

    std::vector<Finding> run();

private:
    struct Item {
        int chunk;
        int line;
        Flow flow;
    };

    int findChunk(std::string_view name) const {
        const int index = archive_.findEntry(name);
        return index < static_cast<int>(chunks_.size()) ? index : -1;
    }
    void report(int chunk, int line, Severity severity, std::string message);
    void enter(int chunk, int line, const Flow& flow);
    void enterFixed(std::string_view name, const Flow& flow);
    void jump(int chunk, std::int32_t target, const Flow& flow);
    int findJumpTarget(int chunk, int line, std::string_view label, std::int32_t from);
    void visit(int chunk, int line, Flow flow);
    void visitCommand(int chunk, int line, const Flow& flow);
    void visitSelect(int chunk, int line, const Flow& flow, std::int32_t count);
    void visitAltCommand(int chunk, int line, const Flow& flow);
    Flow visitText(int chunk, int line, Flow flow);
    Flow visitAltText(int chunk, int line, Flow flow);
    bool readTag(int chunk, int line, int& pos, Flow& flow);
    void checkPicture(int chunk, int line, std::string_view argument);
    void checkVoice(int chunk, int line, std::string_view text);
    void checkMusic(int chunk, int line, std::int32_t track);
    void checkRestOfLine(int chunk, int line, int pos, std::string_view mark);
    void enterHotel(int chunk, int line);
    void checkHotel();
    void checkView(int chunk, int line, std::int32_t kind);
    bool hasFile(const std::string& relative, bool scriptName);
    void reportUnreached();

    const Line& lineOf(int chunk, int line) const { return chunks_[chunk].lines[line]; }
    std::string_view argument(int chunk, int line, int column) const {
        if (column <= 0 || column >= kLineCapacity) return {};
        return bytesText(lineOf(chunk, line).text.data() + column);
    }
    std::int32_t number(int chunk, int line, int column) const {
        const auto& text = lineOf(chunk, line).text;
        return parseDecimal(text.data() + column, text.data() + kLineCapacity);
    }

    const ScriptCheckInput& input_;
    std::vector<Chunk> chunks_;
    Archive archive_;
    std::vector<std::vector<bool>> reached_;
    std::vector<bool> entered_;
    std::deque<Item> work_;
    std::unordered_set<std::uint64_t> visited_;
    bool following_ = true;  // false while lines nothing reaches are read for their own faults
    static constexpr int kNoChunk = 1 << 30;
    std::pair<int, int> firstMove_{kNoChunk, 0};
    std::set<std::int32_t> viewsChecked_;
    std::map<std::string, bool> files_;
    std::vector<Finding> findings_;
    std::set<std::tuple<int, int, std::string>> reported_;
};

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
               "the label " + inQuotes(label) + " is found as :" +
                   cp932ToUtf8(bytesText(found.text.data() + 1)) + " (line " +
                   std::to_string(labelLine + 1) + "): labels match by their beginning");
    } else {
        report(chunk, line + 1, Severity::Warning,
               "the label " + inQuotes(label) + " is found as a colon inside line " +
                   std::to_string(labelLine + 1) + ": the game searches labels byte by byte");
    }
    return target;
}

bool Checker::hasFile(const std::string& relative, bool scriptName) {
    const auto cached = files_.find(relative);
    if (cached != files_.end()) return cached->second;
    const auto& folder = *input_.gameFolder;
    const auto found =
        scriptName ? findScriptFile(folder, relative) : findIgnoringCase(folder, relative);
    std::error_code ec;
    const bool exists = found && std::filesystem::is_regular_file(*found, ec);
    files_.emplace(relative, exists);
    return exists;
}

void Checker::checkPicture(int chunk, int line, std::string_view text) {
    const PictureArgument picture = parsePictureArgument(text);
    if (picture.kind == 'S') return;
    if (picture.kind != 'A' && picture.kind != 'B') {
        report(chunk, line + 1, Severity::Error,
               picture.name.empty()
                   ? "a picture command without a picture name"
                   : "the picture name " + inQuotes(picture.name) +
                         " starts with neither A, B nor S: nothing is shown");
        return;
    }
    if (!input_.gameFolder) return;
    const std::string path = picturePath(picture);
    if (!hasFile(path, true)) {
        report(chunk, line + 1, Severity::Error, "the picture " + cp932ToUtf8(path) + " is missing");
    }
}

// Voices are optional in the game, which plays on in silence without one: a warning.
void Checker::checkVoice(int chunk, int line, std::string_view text) {
    const std::string_view name = sound::voiceName(text);
    if (name.empty()) {
        report(chunk, line + 1, Severity::Warning, "a voice without a name");
        return;
    }
    if (!input_.gameFolder) return;
    const auto candidates = sound::voiceFileNames(name);
    if (hasFile(candidates[0], true) || hasFile(candidates[1], true)) return;
    report(chunk, line + 1, Severity::Warning,
           "the voice " + cp932ToUtf8(name) + " is missing (" + cp932ToUtf8(candidates[0]) +
               " or " + cp932ToUtf8(candidates[1]) + "): the game plays on without it");
}

void Checker::checkMusic(int chunk, int line, std::int32_t track) {
    if (track == 0 || !input_.gameFolder) return;
    const std::string name = sound::musicFileName(track);
    if (!hasFile(name, false)) {
        report(chunk, line + 1, Severity::Error,
               "the music " + name + " is missing: the game tells the player it cannot open it");
    }
}

void Checker::checkRestOfLine(int chunk, int line, int pos, std::string_view mark) {
    if (lineOf(chunk, line).text[static_cast<std::size_t>(pos)] == 0) return;
    report(chunk, line + 1, Severity::Warning,
           "the text after " + std::string(mark) + " is never shown: the mark ends the line");
}

void Checker::enterHotel(int chunk, int line) {
    if (!following_) return;
    const Flow fresh = Flow::freshChapter();
    for (std::string_view place : hotel::kPlaceChunks) enterFixed(place, fresh);
    firstMove_ = std::min(firstMove_, std::pair(chunk, line));
}

// The places' chunks are told of once, at the first *move of the script.
void Checker::checkHotel() {
    if (firstMove_.first == kNoChunk) return;
    const auto [chunk, line] = firstMove_;
    if (findChunk(hotel::kCollectChunk) < 0) {
        report(chunk, line + 1, Severity::Warning,
               "the game has no chunk IVE: 徴収 and the floor map start nothing, and the story "
               "goes on after *move");
    }
    std::string missing;
    for (std::string_view place : hotel::kPlaceChunks) {
        if (place == hotel::kCollectChunk || findChunk(place) >= 0) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(place);
    }
    if (!missing.empty()) {
        report(chunk, line + 1, Severity::Warning,
               "the hotel map's places " + missing +
                   " have no chunk: a click on them runs only IVE");
    }
}

void Checker::checkView(int chunk, int line, std::int32_t kind) {
    if (kind < 1 || kind > 3) {
        report(chunk, line + 1, Severity::Warning,
               "*view " + std::to_string(kind) +
                   " opens no screen: the story waits for a click on the close button's place "
                   "(write *view 1, 2 or 3 with one blank)");
        return;
    }
    if (kind == 3 && following_) {
        // A scene runs as a called chunk; its `end` returns to the menu.
        Flow scene;
        scene.inCall = true;
        for (std::string_view name : gallery::kSceneChunks) {
            if (!name.empty()) enterFixed(name, scene);
        }
    }
    if (!input_.gameFolder || !viewsChecked_.insert(kind).second) return;
    std::vector<std::string> pictures;
    if (kind == 3) {
        pictures.emplace_back(gallery::kSceneMenuPicture);
    } else {
        for (int page = 1; page <= gallery::kPageCount; ++page) {
            pictures.push_back(gallery::pagePicture(kind == 1, page));
        }
        auto addItems = [&](const auto& table) {
            for (const auto& page : table) {
                for (std::string_view name : page) {
                    if (!name.empty()) pictures.emplace_back(name);
                }
            }
        };
        if (kind == 1) addItems(gallery::kGallery1Pictures);
        if (kind == 2) addItems(gallery::kGallery2Pictures);
    }
    std::string missing;
    std::set<std::string> named;
    for (const std::string& name : pictures) {
        if (!named.insert(name).second) continue;
        if (!hasFile(picturePath(parsePictureArgument(name)), true)) {
            missing += (missing.empty() ? "" : ", ") + name;
        }
    }
    if (!missing.empty()) {
        report(chunk, line + 1, Severity::Error,
               "*view " + std::to_string(kind) + " shows pictures the game folder lacks: " + missing);
    }
}

std::vector<Finding> Checker::run() {
    if (findChunk("main") < 0) {
        findings_.push_back({"main", "", 0, Severity::Error,
                             "the game has no chunk main: nothing starts"});
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
                report(index, static_cast<int>(i) + 1, Severity::Warning,
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
    if (l.length > kMaxLineBytes) {
        report(chunk, line + 1, Severity::Error,
               std::to_string(l.length) + " bytes, more than the 255 a line may have: the rest "
               "is never read");
    }
    const std::uint8_t first = l.text[0];
    if (first == 0) {
        if (flow.penKnown) flow.row = std::min<std::uint8_t>(flow.row + 1, kRowCap);
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
    enter(chunk, line + 1, flow.alt ? visitAltText(chunk, line, flow) : visitText(chunk, line, flow));
}

void Checker::visitCommand(int chunk, int line, const Flow& flow) {
    const Line& l = lineOf(chunk, line);
    const CommandKeyword* command = matchCommandKeyword(l.text.data() + 1,
                                                        boundedLength(l.text.data() + 1, kLineCapacity - 1));
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
                report(chunk, line + 1, Severity::Warning,
                       command->id == CommandId::If
                           ? "*if never jumps: it needs a comparison (= < > !) and one blank "
                             "before its label"
                           : "*" + std::string(command->keyword.substr(0, command->keyword.size() - 1)) +
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
            Flow called = flow.penKnown ? flow : flow.penUnknown();
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
        case CommandId::Move: enterHotel(chunk, line); return;
        case CommandId::View: checkView(chunk, line, number(chunk, line, column)); break;
        default: break;
    }
    enter(chunk, line + 1, next);
}

void Checker::visitSelect(int chunk, int line, const Flow& flow, std::int32_t count) {
    const Chunk& c = chunks_[chunk];
    if (count < 1) {
        report(chunk, line + 1, Severity::Error, "*select " + std::to_string(count) + ": no menu opens");
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
        if (text.text[0] == ':' || text.text[0] == '*' || text.text[0] == ';' || text.text[0] == 0) {
            report(chunk, line + 1, Severity::Error,
                   "*select " + std::to_string(count) + " has only " + std::to_string(k - 1) +
                       " rows: line " + std::to_string(row + 1) +
                       " would be shown as row " + std::to_string(k));
            break;
        }
        if (text.length > kMaxChoiceBytes) {
            report(chunk, row + 1, Severity::Warning,
                   "the choice is " + std::to_string(text.length) + " bytes: the menu shows "
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
                       " after it: picking row " + std::to_string(k) +
                       " reads the rows as text");
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
        const CommandKeyword* command = matchCommandKeyword(word, boundedLength(word, kLineCapacity - 1));
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

// Reads the tag at `pos` (its '['); false when the tag runs to the line's end, which makes no
// line break.
bool Checker::readTag(int chunk, int line, int& pos, Flow& flow) {
    const auto& text = lineOf(chunk, line).text;
    const std::uint8_t* afterBracket = text.data() + pos + 1;
    const std::size_t available = boundedLength(afterBracket, kLineCapacity - pos - 1);
    const TextTagEntry* tag = matchTextTag(afterBracket, available);
    const std::string_view whole = bytesText(text.data() + pos);
    const std::string shown = cp932ToUtf8(whole.substr(0, whole.find(']') + 1));
    if (tag == nullptr) {
        report(chunk, line + 1, Severity::Warning,
               "unknown tag " + shown + ": the game shows nothing of it");
    } else {
        const int argumentAt = pos + tag->argumentOffset;
        if (tag->argumentOffset > 0 && text[static_cast<std::size_t>(argumentAt - 1)] != ' ') {
            report(chunk, line + 1, Severity::Warning,
                   "in " + shown + " the argument must follow the keyword after one blank");
        }
        const std::string_view arg =
            tag->argumentOffset > 0 ? bytesText(text.data() + std::min(argumentAt, kLineCapacity - 1))
                                    : std::string_view{};
        switch (tag->tag) {
            case TextTag::Picture: checkPicture(chunk, line, arg); break;
            case TextTag::Voice: checkVoice(chunk, line, arg); break;
            case TextTag::Normal: flow.large = false; break;
            case TextTag::Large:
            case TextTag::Colour: {
                const bool changes = tag->tag == TextTag::Large || parseDecimal(arg) != 0;
                if (flow.penKnown && flow.frameClosed && changes) {
                    report(chunk, line + 1, Severity::Warning,
                           shown + " comes before the frame opens, and the opening undoes it: "
                                   "open the page first with a line holding ▽");
                }
                if (tag->tag == TextTag::Large) flow.large = true;
                break;
            }
            default: break;
        }
    }
    while (pos < kLineCapacity && text[static_cast<std::size_t>(pos)] != 0 &&
           text[static_cast<std::size_t>(pos)] != ']') {
        ++pos;
    }
    if (pos < kLineCapacity && text[static_cast<std::size_t>(pos)] == ']') {
        ++pos;
        return true;
    }
    report(chunk, line + 1, Severity::Warning,
           "a tag without ]: it takes the rest of the line, which then makes no line break");
    return false;
}

Flow Checker::visitText(int chunk, int line, Flow flow) {
    const auto& text = lineOf(chunk, line).text;
    int pos = 0;
    int widest = 0;
    bool fifthRow = false;
    bool swallowed = false;
    for (;;) {
        const std::uint8_t b = text[static_cast<std::size_t>(pos)];
        const std::uint8_t b2 = pos + 1 < kLineCapacity ? text[static_cast<std::size_t>(pos) + 1] : 0;
        const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
        if (b == '[') {
            if (!readTag(chunk, line, pos, flow)) return flow;
            continue;
        }
        if (b == 0) {
            if (flow.penKnown) {
                flow.row = std::min<std::uint8_t>(flow.row + 1, kRowCap);
                flow.column = 0;
            }
            break;
        }
        if (b == '\\' && b2 == 0) break;
        if (pair == kPageWaitMark || pair == kNewPageMark || pair == kPlainWaitMark) {
            checkRestOfLine(chunk, line, pos + 2,
                            pair == kPageWaitMark ? "▼" : pair == kNewPageMark ? "▽" : "〓");
            if (pair != kPlainWaitMark) flow = flow.newPage();
            break;
        }
        if (pair == kWideSpace || pair == kHeartMark) {
            if (flow.penKnown) flow.column = static_cast<std::uint8_t>(std::min(flow.column + 2, +kColumnCap));
            pos += 2;
            continue;
        }
        if (flow.penKnown && flow.frameClosed) flow = flow.newPage();
        const int count = characterBytes(b, b2);
        if (count == 2 && isHalfWidthKana(b) && !isHalfWidthKana(b2) && !swallowed) {
            swallowed = true;
            const bool mark = b2 == 0x81 && (text[static_cast<std::size_t>(pos) + 2] == 0xA5 ||
                                             text[static_cast<std::size_t>(pos) + 2] == 0xAC);
            report(chunk, line + 1, Severity::Warning,
                   mark ? "an odd number of half-width katakana takes the first byte of the wait "
                          "mark after them into a character: the page does not wait"
                        : "an odd number of half-width katakana takes the first byte of the "
                          "character after them: it is misdrawn");
        }
        if (flow.penKnown) {
            // Once a page: the rows after the fifth are cut off with it.
            if (flow.row == kFrameRows) fifthRow = true;
            const int cells = count * (flow.large ? 2 : 1);
            widest = std::max(widest, flow.column + cells);
            flow.column = static_cast<std::uint8_t>(std::min(flow.column + cells, +kColumnCap));
        }
        pos += count;
    }
    if (fifthRow) {
        report(chunk, line + 1, Severity::Warning,
               "a fifth row on the page: the frame shows four, the rows from here on are cut off");
    }
    if (widest > kFrameColumns) {
        report(chunk, line + 1, Severity::Warning,
               "the row is " + std::to_string(widest) + " cells wide, wider than the frame's " +
                   std::to_string(kFrameColumns) +
                   " (a cell is a half-width character; full-width and large text take more)");
    }
    return flow;
}

// The alternate text mode draws on the picture in cells, knows only the tags col, wait, voice
// and delay, and draws ◆ and the full-width space as characters.
Flow Checker::visitAltText(int chunk, int line, Flow flow) {
    const Line& l = lineOf(chunk, line);
    const auto& text = l.text;
    int pos = 0;
    bool outside = false;
    for (;;) {
        const std::uint8_t b = text[static_cast<std::size_t>(pos)];
        const std::uint8_t b2 = pos + 1 < kLineCapacity ? text[static_cast<std::size_t>(pos) + 1] : 0;
        const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
        if (b == '[') {
            const std::uint8_t* tag = text.data() + pos + 1;
            static constexpr std::array<std::string_view, 4> kAltTags{"col", "wait", "voice", "delay"};
            bool known = false;
            for (std::string_view keyword : kAltTags) {
                known = known || equalBytesIgnoringAsciiCase(
                                     tag, reinterpret_cast<const std::uint8_t*>(keyword.data()),
                                     keyword.size());
            }
            if (!known) {
                report(chunk, line + 1, Severity::Warning,
                       "the alternate text mode of *mode knows only the tags col, wait, voice "
                       "and delay: this one does nothing");
            } else if (equalBytesIgnoringAsciiCase(tag, reinterpret_cast<const std::uint8_t*>("voice"), 5)) {
                checkVoice(chunk, line, bytesText(text.data() + std::min(pos + 7, kLineCapacity - 1)));
            }
            while (pos < kLineCapacity && text[static_cast<std::size_t>(pos)] != 0 &&
                   text[static_cast<std::size_t>(pos)] != ']') {
                ++pos;
            }
            if (pos >= kLineCapacity || text[static_cast<std::size_t>(pos)] != ']') return flow;
            ++pos;
            continue;
        }
        if (b == 0) {
            if (flow.penKnown) {
                flow.row = std::min<std::uint8_t>(flow.row + 1, kColumnCap);
                flow.column = 0;
            }
            break;
        }
        if (b == '\\' && b2 == 0) break;
        if (pair == kPageWaitMark || pair == kNewPageMark || pair == kPlainWaitMark) {
            if (pair != kPlainWaitMark) flow = flow.newPage();
            break;
        }
        const int count = characterBytes(b, b2);
        if (flow.penKnown) {
            if (flow.column >= kAltColumns || flow.row >= kAltRows) outside = true;
            flow.column = static_cast<std::uint8_t>(std::min(flow.column + count, +kColumnCap));
        }
        pos += count;
    }
    if (outside) {
        report(chunk, line + 1, Severity::Warning,
               "in the alternate text mode of *mode this text runs past the picture's edge (" +
                   std::to_string(kAltColumns) + " columns, " + std::to_string(kAltRows) +
                   " rows)");
    }
    return flow;
}

}  // namespace

std::vector<Finding> checkScripts(const ScriptCheckInput& input) {
    return Checker(input).run();
}

bool hasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace corvan
