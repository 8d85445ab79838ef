#pragma once

// JSON for checking the files the programs write: Qt's parser reads the text, and a tree of plain
// values is made of what it read, to look values up in. Qt reads a little more than strict JSON,
// so two things it would let through are refused first: a raw control character in a string
// and a key given twice in one object. Test code only.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
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
    std::vector<JsonMember> members;  // in key order

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
        if (!strictStrings(text, error)) return std::nullopt;
        // In brackets, so that a string or a number alone is a document too; a second value
        // after the first then shows as a second item.
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(
            QByteArray("[") + QByteArray(text.data(), static_cast<qsizetype>(text.size())) + "]",
            &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            error = parseError.errorString().toStdString() + " at byte " +
                    std::to_string(parseError.offset - 1);
            return std::nullopt;
        }
        if (document.array().size() != 1) {
            error = "not one value";
            return std::nullopt;
        }
        return tree(document.array().at(0));
    }

private:
    static JsonValue tree(const QJsonValue& from) {
        JsonValue out;
        switch (from.type()) {
            case QJsonValue::Bool:
                out.type = JsonValue::Type::Bool;
                out.boolean = from.toBool();
                break;
            case QJsonValue::Double:
                out.type = JsonValue::Type::Number;
                out.number = from.toDouble();
                break;
            case QJsonValue::String:
                out.type = JsonValue::Type::String;
                out.text = from.toString().toStdString();
                break;
            case QJsonValue::Array:
                out.type = JsonValue::Type::Array;
                for (const QJsonValue& item : from.toArray()) out.items.push_back(tree(item));
                break;
            case QJsonValue::Object: {
                out.type = JsonValue::Type::Object;
                const QJsonObject object = from.toObject();
                for (auto it = object.begin(); it != object.end(); ++it) {
                    out.members.push_back({it.key().toStdString(), tree(it.value())});
                }
                break;
            }
            default: break;
        }
        return out;
    }

    // Walks the strings of the text: no raw byte below 0x20 in one, and no key twice in one
    // object (keys compared as written).
    static bool strictStrings(std::string_view s, std::string& error) {
        std::vector<std::set<std::string>> keys;  // one set for each open object or array
        for (std::size_t i = 0; i < s.size(); ++i) {
            const char c = s[i];
            if (c == '{' || c == '[') keys.emplace_back();
            if ((c == '}' || c == ']') && !keys.empty()) keys.pop_back();
            if (c != '"') continue;
            const std::size_t start = ++i;
            for (; i < s.size() && s[i] != '"'; ++i) {
                if (static_cast<unsigned char>(s[i]) < 0x20) {
                    error = "control character in a string at byte " + std::to_string(i);
                    return false;
                }
                if (s[i] == '\\') ++i;
            }
            std::size_t next = i + 1;
            while (next < s.size() &&
                   (s[next] == ' ' || s[next] == '\t' || s[next] == '\n' || s[next] == '\r')) {
                ++next;
            }
            if (next < s.size() && s[next] == ':' && !keys.empty() &&
                !keys.back().insert(std::string(s.substr(start, i - start))).second) {
                error = "a key twice in one object at byte " + std::to_string(start - 1);
                return false;
            }
        }
        return true;
    }
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
