#pragma once

// The inside of the script checker (authoring/script_check.h): what it keeps of each chunk and of
// the game's state on a path, and the walk over the paths. Its parts live in script_check.cpp
// (the walk, commands and labels), script_check_text.cpp (message text) and
// script_check_files.cpp (pictures, sounds, the hotel and the galleries).

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "authoring/script_check.h"
#include "engine/archive.h"
#include "engine/ascii.h"
#include "engine/command_keywords.h"
#include "engine/cp932.h"
#include "render/layers.h"

namespace corvan::script_check {

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

inline std::string_view bytesText(const std::uint8_t* text) {
    return {reinterpret_cast<const char*>(text), boundedLength(text, kLineCapacity)};
}

inline bool isHalfWidthKana(std::uint8_t b) {
    return b >= 0xA1 && b <= 0xDF;
}

inline std::string inQuotes(std::string_view cp932) {
    return "\"" + cp932ToUtf8(cp932) + "\"";
}

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
    // The end of a text line: the cursor moves to the next row's start.
    void endRow(std::uint8_t rowCap) {
        if (!penKnown) return;
        row = static_cast<std::uint8_t>(std::min(row + 1, +rowCap));
        column = 0;
    }
    std::uint32_t key() const {
        return static_cast<std::uint32_t>(alt) | inCall << 1 | inMessage << 2 | caseBranch << 3 |
               penKnown << 4 | frameClosed << 5 | large << 6 | row << 7 | column << 15;
    }
};

struct Line {
    std::int32_t offset = 0;
    std::size_t length = 0;                          // bytes before the line's NUL, in full
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

// The chunk's lines as the interpreter fetches them.
Chunk splitChunk(const ChunkSource& source);

// Walks every (line, state) pair the story can reach from the chunks the game starts by itself,
// once each, reporting on the way; then reads the lines nothing reached for their own faults.
class Checker {
public:
    explicit Checker(const ScriptCheckInput& input);

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
    // Whole-script passes (script_check_values.cpp).
    void checkVariables();
    void checkSilentLoops();
    void checkNumber(int chunk, int line, const CommandKeyword& command);

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

}  // namespace corvan::script_check
