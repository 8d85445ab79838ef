#pragma once

// A small strict JSON reader for checking the state files: enough of the grammar to reject
// anything a JSON parser would reject (trailing commas, bare words, raw control characters in
// strings, text after the value), and a tree to look values up in. Test code only.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::test {

struct JsonMember;

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // string contents, UTF-8
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;  // in file order

    const JsonValue* find(std::string_view key) const;
    bool has(std::string_view key) const { return find(key) != nullptr; }
    // The value of `key`, or a null value when there is none.
    const JsonValue& operator[](std::string_view key) const;
    // The numbers of an array, for lists of flags and marks.
    std::vector<std::int64_t> integers() const {
        std::vector<std::int64_t> out;
        for (const JsonValue& item : items) out.push_back(static_cast<std::int64_t>(item.number));
        return out;
    }
    // An object of numbers, keys as written.
    std::map<std::string, std::int64_t> integerMembers() const;
};

// A member of an object. A plain struct rather than a std::pair, which would need JsonValue
// complete inside its own definition.
struct JsonMember {
    std::string name;
    JsonValue value;
};

inline const JsonValue* JsonValue::find(std::string_view key) const {
    for (const auto& [name, value] : members) {
        if (name == key) return &value;
    }
    return nullptr;
}

inline const JsonValue& JsonValue::operator[](std::string_view key) const {
    static const JsonValue none;
    const JsonValue* v = find(key);
    return v ? *v : none;
}

inline std::map<std::string, std::int64_t> JsonValue::integerMembers() const {
    std::map<std::string, std::int64_t> out;
    for (const auto& [name, value] : members) {
        out[name] = static_cast<std::int64_t>(value.number);
    }
    return out;
}

class JsonReader {
public:
    // The value of the whole text; nullopt with `error` set when it is not valid JSON.
    static std::optional<JsonValue> parse(std::string_view text, std::string& error) {
        JsonReader reader(text);
        JsonValue value;
        if (!reader.value(value, 0) || (reader.skipBlanks(), reader.pos_ != text.size())) {
            error = reader.error_.empty() ? "text after the value" : reader.error_;
            error += " at byte " + std::to_string(reader.pos_);
            return std::nullopt;
        }
        return value;
    }

private:
    explicit JsonReader(std::string_view text) : s_(text) {}

    bool fail(const char* what) {
        if (error_.empty()) error_ = what;
        return false;
    }
    void skipBlanks() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return fail("bad literal");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > 64) return fail("nested too deep");
        skipBlanks();
        if (pos_ >= s_.size()) return fail("unexpected end");
        const char c = s_[pos_];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.type = JsonValue::Type::String;
            return string(out.text);
        }
        if (c == 't' || c == 'f') {
            out.type = JsonValue::Type::Bool;
            out.boolean = c == 't';
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') return literal("null");
        if (c == '-' || (c >= '0' && c <= '9')) return number(out);
        return fail("unexpected character");
    }

    bool digits() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
        return pos_ > start;
    }

    bool number(JsonValue& out) {
        const std::size_t start = pos_;
        if (s_[pos_] == '-') ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '0') {
            ++pos_;
        } else if (!digits()) {
            return fail("bad number");
        }
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (!digits()) return fail("bad fraction");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
            if (!digits()) return fail("bad exponent");
        }
        out.type = JsonValue::Type::Number;
        out.number = std::stod(std::string(s_.substr(start, pos_ - start)));
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    bool hex4(std::uint32_t& out) {
        if (pos_ + 4 > s_.size()) return fail("short \\u escape");
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[pos_++];
            out <<= 4;
            if (h >= '0' && h <= '9') {
                out |= static_cast<std::uint32_t>(h - '0');
            } else if (h >= 'a' && h <= 'f') {
                out |= static_cast<std::uint32_t>(h - 'a' + 10);
            } else if (h >= 'A' && h <= 'F') {
                out |= static_cast<std::uint32_t>(h - 'A' + 10);
            } else {
                return fail("bad \\u escape");
            }
        }
        return true;
    }

    bool string(std::string& out) {
        ++pos_;  // opening quote
        for (;;) {
            if (pos_ >= s_.size()) return fail("unterminated string");
            const auto c = static_cast<unsigned char>(s_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) return fail("raw control character in a string");
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            if (pos_ >= s_.size()) return fail("unterminated escape");
            const char e = s_[pos_++];
            switch (e) {
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                case '/':
                    out.push_back('/');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    std::uint32_t cp = 0;
                    if (!hex4(cp)) return false;
                    if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(pos_, 2) == "\\u") {
                        pos_ += 2;
                        std::uint32_t low = 0;
                        if (!hex4(low)) return false;
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default:
                    return fail("bad escape");
            }
        }
    }

    bool array(JsonValue& out, int depth) {
        out.type = JsonValue::Type::Array;
        ++pos_;
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            JsonValue item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
            skipBlanks();
            if (pos_ >= s_.size()) return fail("unterminated array");
            const char c = s_[pos_++];
            if (c == ']') return true;
            if (c != ',') return fail("expected , or ]");
        }
    }

    bool object(JsonValue& out, int depth) {
        out.type = JsonValue::Type::Object;
        ++pos_;
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            skipBlanks();
            if (pos_ >= s_.size() || s_[pos_] != '"') return fail("expected a key");
            std::string key;
            if (!string(key)) return false;
            for (const auto& member : out.members) {
                if (member.name == key) return fail("duplicate key");
            }
            skipBlanks();
            if (pos_ >= s_.size() || s_[pos_] != ':') return fail("expected :");
            ++pos_;
            JsonValue item;
            if (!value(item, depth + 1)) return false;
            out.members.push_back({std::move(key), std::move(item)});
            skipBlanks();
            if (pos_ >= s_.size()) return fail("unterminated object");
            const char c = s_[pos_++];
            if (c == '}') return true;
            if (c != ',') return fail("expected , or }");
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    std::string error_;
};

// The keys every state file has.
inline const std::vector<std::string>& stateJsonKeys() {
    static const std::vector<std::string> keys = {"chunk",
                                                  "chapterName",
                                                  "scriptPos",
                                                  "scriptLength",
                                                  "scriptRunning",
                                                  "fetchLine",
                                                  "waitKind",
                                                  "delayTicks",
                                                  "textDelay",
                                                  "menuKind",
                                                  "viewFlag",
                                                  "viewKind",
                                                  "caseState",
                                                  "inCall",
                                                  "inMessage",
                                                  "altTextMode",
                                                  "textLine",
                                                  "textColumn",
                                                  "largeText",
                                                  "textColour",
                                                  "tickCount",
                                                  "idleCalls",
                                                  "hoveredRow",
                                                  "rowCount",
                                                  "frameOpen",
                                                  "overlayShown",
                                                  "overlayDeferred",
                                                  "clearMark",
                                                  "speedFactor",
                                                  "currentTrack",
                                                  "quitRequested",
                                                  "flags",
                                                  "V",
                                                  "S",
                                                  "E",
                                                  "aMarks",
                                                  "bMarks"};
    return keys;
}

}  // namespace corvan::test
