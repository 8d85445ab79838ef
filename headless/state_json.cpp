#include "headless/state_json.h"

#include <cstdio>
#include <sstream>

#include "engine/ascii.h"
#include "engine/cp932.h"
#include "game/enum_number.h"

namespace corvan {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out.push_back(ch);
                }
        }
    }
    return out + "\"";
}

namespace {

class JsonObject {
public:
    template <typename T>
    void number(const char* key, T value) {
        field(key) << value;
    }
    void boolean(const char* key, bool value) { field(key) << (value ? "true" : "false"); }
    void string(const char* key, std::string_view value) { field(key) << jsonString(value); }
    void raw(const char* key, const std::string& json) { field(key) << json; }
    std::string finish() { return out_.str() + "\n}\n"; }

private:
    std::ostringstream& field(const char* key) {
        out_ << (first_ ? "{\n  " : ",\n  ") << '"' << key << "\": ";
        first_ = false;
        return out_;
    }
    std::ostringstream out_;
    bool first_ = true;
};

template <typename Array>
std::string nonZeroObject(const Array& values) {
    std::ostringstream out;
    out << '{';
    bool first = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == 0) continue;
        out << (first ? "" : ", ") << '"' << i << "\": " << static_cast<long long>(values[i]);
        first = false;
    }
    out << '}';
    return out.str();
}

template <typename Array>
std::string setEntries(const Array& marks) {
    std::ostringstream out;
    out << '[';
    bool first = true;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] == 0) continue;
        out << (first ? "" : ", ") << i;
        first = false;
    }
    out << ']';
    return out.str();
}

std::string setFlags(const Variables& vars) {
    std::ostringstream out;
    out << '[';
    bool first = true;
    const auto& bytes = vars.flagBytes();
    // Every bit of the flag array, including the bytes no flag command reaches.
    for (int n = 0; n < Variables::kFlagBytes * 8; ++n) {
        if ((bytes[n / 8] >> (n % 8) & 1) == 0) continue;
        out << (first ? "" : ", ") << n;
        first = false;
    }
    out << ']';
    return out.str();
}

}  // namespace

std::string stateJson(const Game& g) {
    JsonObject json;
    const auto* chapter = reinterpret_cast<const char*>(g.chapterName.data());
    json.string("chunk", cp932ToUtf8(g.lastChunk));
    json.string("chapterName",
                cp932ToUtf8(std::string_view(chapter, boundedLength(g.chapterName.data(), 8))));
    json.number("scriptPos", g.scriptPos);
    json.number("scriptLength", g.scriptLength);
    json.boolean("scriptRunning", g.scriptRunning);
    json.boolean("fetchLine", g.fetchLine);
    json.number("linePos", g.linePos);
    json.number("waitKind", toNumber(g.waitKind));
    json.number("delayTicks", g.delayTicks);
    json.number("textDelay", g.textDelay);
    json.number("menuKind", toNumber(g.menuKind));
    json.number("viewFlag", toNumber(g.viewFlag));
    json.number("viewKind", g.viewKind);
    json.number("caseState", toNumber(g.caseState));
    json.boolean("inCall", g.inCall);
    json.boolean("inMessage", g.inMessage);
    json.number("altTextMode", toNumber(g.altTextMode));
    json.number("textLine", g.textLine);
    json.number("textColumn", g.textColumn);
    json.number("largeText", g.largeText);
    json.number("textColour", g.textColour);
    json.number("tickCount", g.tickCount);
    json.number("idleCalls", g.idleCalls);
    json.number("hoveredRow", g.hoveredRow);
    json.number("rowCount", g.rowCount);
    json.boolean("inputLatch", g.inputLatch);
    json.boolean("frameOpen", g.frameOpen);
    json.boolean("overlayShown", g.overlayShown);
    json.boolean("overlayDeferred", g.overlayDeferred);
    json.number("clearMark", g.clearMark);
    json.number("speedFactor", g.settings.speedFactor);
    json.number("currentTrack", g.currentTrack);
    json.boolean("quitRequested", g.quitRequested);
    json.raw("flags", setFlags(g.vars));
    json.raw("V", nonZeroObject(g.vars.values()));
    json.raw("S", nonZeroObject(g.vars.systemValues()));
    json.raw("E", nonZeroObject(g.vars.persistentValues()));
    json.raw("aMarks", setEntries(g.aMarks));
    json.raw("bMarks", setEntries(g.bMarks));
    return json.finish();
}

}  // namespace corvan
