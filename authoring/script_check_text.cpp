// The script checker's reading of message text: tags, marks, the frame's rows and width, in
// the text frame and in the alternate text mode of *mode.

#include <algorithm>

#include "authoring/script_checker.h"
#include "engine/message_tags.h"

namespace corvan::script_check {

namespace {

// Moves `pos` past the ']' that closes the tag at `pos`, as the text drawer skips a tag; false
// when the line ends first.
bool skipTag(const std::array<std::uint8_t, kLineCapacity>& text, int& pos) {
    while (pos < kLineCapacity && text[static_cast<std::size_t>(pos)] != 0 &&
           text[static_cast<std::size_t>(pos)] != ']') {
        ++pos;
    }
    if (pos >= kLineCapacity || text[static_cast<std::size_t>(pos)] != ']') return false;
    ++pos;
    return true;
}

}  // namespace

void Checker::checkRestOfLine(int chunk, int line, int pos, std::string_view mark) {
    if (lineOf(chunk, line).text[static_cast<std::size_t>(pos)] == 0) return;
    report(chunk, line + 1, Severity::Warning,
           "the text after " + std::string(mark) + " is never shown: the mark ends the line");
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
            tag->argumentOffset > 0
                ? bytesText(text.data() + std::min(argumentAt, kLineCapacity - 1))
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
                           shown +
                               " comes before the frame opens, and the opening undoes it: "
                               "open the page first with a line holding ▽");
                }
                if (tag->tag == TextTag::Large) flow.large = true;
                break;
            }
            default: break;
        }
    }
    if (skipTag(text, pos)) return true;
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
        const std::uint8_t b2 =
            pos + 1 < kLineCapacity ? text[static_cast<std::size_t>(pos) + 1] : 0;
        const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
        if (b == '[') {
            if (!readTag(chunk, line, pos, flow)) return flow;
            continue;
        }
        if (b == 0) {
            flow.endRow(kRowCap);
            break;
        }
        if (b == '\\' && b2 == 0) break;
        if (pair == kPageWaitMark || pair == kNewPageMark || pair == kPlainWaitMark) {
            checkRestOfLine(chunk, line, pos + 2,
                            pair == kPageWaitMark  ? "▼"
                            : pair == kNewPageMark ? "▽"
                                                   : "〓");
            if (pair != kPlainWaitMark) flow = flow.newPage();
            break;
        }
        if (pair == kWideSpace || pair == kHeartMark) {
            if (flow.penKnown)
                flow.column = static_cast<std::uint8_t>(std::min(flow.column + 2, +kColumnCap));
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
        const std::uint8_t b2 =
            pos + 1 < kLineCapacity ? text[static_cast<std::size_t>(pos) + 1] : 0;
        const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
        if (b == '[') {
            const std::uint8_t* tag = text.data() + pos + 1;
            static constexpr std::array<std::string_view, 4> kAltTags{"col", "wait", "voice",
                                                                      "delay"};
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
            } else if (equalBytesIgnoringAsciiCase(
                           tag, reinterpret_cast<const std::uint8_t*>("voice"), 5)) {
                checkVoice(chunk, line,
                           bytesText(text.data() + std::min(pos + 7, kLineCapacity - 1)));
            }
            if (!skipTag(text, pos)) return flow;
            continue;
        }
        if (b == 0) {
            flow.endRow(kColumnCap);
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

}  // namespace corvan::script_check
