#include "settings/ini_text.h"

#include <cstddef>

namespace corvan {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// One line of the text, as offsets into it: its bytes run from `start` to `end`, then comes
// its line break ("\n" or "\r\n", none for a last line without one) up to `next`. A last line
// that ends in a CR alone lost the LF of its CRLF: the CR is no part of the line, but only an
// LF after it makes a break that another line can follow.
struct Line {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool loneCr = false;

    bool hasBreak() const { return next != end && !loneCr; }
    bool hasCrLf() const { return next - end == 2 || loneCr; }
    // What ends this line when another is put after it: its own CR needs only the LF.
    std::string_view breakToAdd(std::string_view lineBreak) const {
        return loneCr ? "\n" : lineBreak;
    }
};

enum class LineKind { Other, Section, Entry };

// What a line holds. For an entry, `name` is its key and the value starts `valueStart`
// bytes into the line; for a section header, `name` is the section's name.
struct LineContent {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t valueStart = 0;
    std::string_view value;
};

// The lines of `text`, reading on past a byte order mark at its start.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    std::size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        Line line;
        line.start = pos;
        line.end = lf == std::string_view::npos ? text.size() : lf;
        line.next = lf == std::string_view::npos ? text.size() : lf + 1;
        if (line.end > line.start && text[line.end - 1] == '\r') {
            --line.end;
            line.loneCr = lf == std::string_view::npos;
        }
        if (!visit(line)) return;
        pos = line.next;
    }
}

LineContent parseLine(std::string_view text, const Line& line) {
    const std::string_view bytes = text.substr(line.start, line.end - line.start);
    const std::string_view trimmed = trimBlanks(bytes);
    LineContent content;
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return content;
    if (trimmed.front() == '[') {
        if (trimmed.back() == ']') {
            content.kind = LineKind::Section;
            content.name = trimBlanks(trimmed.substr(1, trimmed.size() - 2));
        }
        return content;
    }
    const std::size_t equals = bytes.find('=');
    if (equals == std::string_view::npos) return content;
    content.name = trimBlanks(bytes.substr(0, equals));
    if (content.name.empty()) return content;
    content.kind = LineKind::Entry;
    content.valueStart = equals + 1;
    while (content.valueStart < bytes.size() && isBlank(bytes[content.valueStart])) {
        ++content.valueStart;
    }
    content.value = trimBlanks(bytes.substr(content.valueStart));
    return content;
}

}  // namespace

std::optional<std::string> iniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
    std::optional<std::string> found;
    bool inSection = false;
    forEachLine(text, [&](const Line& line) {
        const LineContent content = parseLine(text, line);
        if (content.kind == LineKind::Section) inSection = sameName(content.name, section);
        if (inSection && content.kind == LineKind::Entry && sameName(content.name, key)) {
            found = std::string(content.value);
        }
        return !found;
    });
    return found;
}

std::string withIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    bool inSection = false;
    bool inFirstSection = false;
    std::optional<Line> entry;        // the key's line, from the start of its value
    std::optional<Line> appendAfter;  // the first section's header or its last entry
    std::optional<Line> firstLine;
    std::optional<Line> lastLine;
    forEachLine(text, [&](const Line& line) {
        if (!firstLine) firstLine = line;
        lastLine = line;
        const LineContent content = parseLine(text, line);
        if (content.kind == LineKind::Section) {
            inSection = sameName(content.name, section);
            inFirstSection = inSection && !appendAfter;
            if (inFirstSection) appendAfter = line;
        } else if (inSection && content.kind == LineKind::Entry) {
            if (sameName(content.name, key)) {
                entry = line;
                entry->start += content.valueStart;
                return false;
            }
            if (inFirstSection) appendAfter = line;
        }
        return true;
    });

    std::string out(text);
    if (entry) return out.replace(entry->start, entry->end - entry->start, value);

    const std::string_view lineBreak = firstLine && firstLine->hasCrLf() ? "\r\n" : "\n";
    const std::string newEntry = std::string(key) + "=" + std::string(value);
    if (appendAfter) {
        // Blank lines that part the section from the next one stay after the new line.
        const std::string insert = appendAfter->hasBreak()
                                       ? newEntry + std::string(lineBreak)
                                       : std::string(appendAfter->breakToAdd(lineBreak)) + newEntry;
        return out.insert(appendAfter->next, insert);
    }
    if (lastLine) {
        if (!lastLine->hasBreak()) out += lastLine->breakToAdd(lineBreak);
        if (!trimBlanks(text.substr(lastLine->start, lastLine->end - lastLine->start)).empty()) {
            out += lineBreak;  // a blank line before the new section
        }
    }
    out += "[" + std::string(section) + "]";
    out += lineBreak;
    out += newEntry;
    out += lineBreak;
    return out;
}

bool storableIniValue(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;
    return value.empty() || (!isBlank(value.front()) && !isBlank(value.back()));
}

}  // namespace corvan
