#include "engine/cp932.h"

#include <algorithm>
#include <cstdint>

#include "engine/cp932_table.h"
#include "engine/utf8.h"

namespace corvan {

namespace {

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// The character of one whole UTF-8 sequence; nullopt for a sequence that is not strict UTF-8
// (a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF).
std::optional<char32_t> decodeUtf8(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    const std::size_t length = sequence.size();
    if (length == 1) return lead;
    char32_t ch = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(sequence[i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        ch = ch << 6 | (b & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (ch < kSmallest[length] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        return std::nullopt;
    }
    return ch;
}

// The code page 932 bytes of one character; false when it has none.
bool appendCp932(std::string& out, char32_t ch) {
    using cp932_table::kEncodings;
    const auto* end = kEncodings + cp932_table::kEncodingCount;
    const auto* found = std::lower_bound(
        kEncodings, end, ch,
        [](const cp932_table::Encoding& e, char32_t value) { return e.codePoint < value; });
    if (found == end || found->codePoint != ch) return false;
    if (found->length == 2) out.push_back(static_cast<char>(found->bytes >> 8));
    if (found->length >= 1) out.push_back(static_cast<char>(found->bytes & 0xFF));
    return true;
}

}  // namespace

std::optional<std::u32string> cp932Characters(std::string_view bytes) {
    std::u32string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const char32_t single = cp932_table::kSingle[b];
        if (single == cp932_table::kNoCharacter) return std::nullopt;
        if (single != cp932_table::kLeadByte) {
            text.push_back(single);
            continue;
        }
        if (++i == bytes.size()) return std::nullopt;
        const auto trail = static_cast<unsigned char>(bytes[i]);
        const char32_t pair = cp932_table::kDouble[cp932_table::kLeadIndex[b] * 256 + trail];
        if (pair == 0) return std::nullopt;
        text.push_back(pair);
    }
    return text;
}

std::string cp932ToUtf8(std::string_view bytes) {
    std::string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        // Only real lead bytes take the next byte with them; half-width katakana and the bytes
        // that start nothing stand alone.
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const std::size_t len = (!lead || i + 1 >= bytes.size()) ? 1 : 2;
        if (const auto characters = cp932Characters(bytes.substr(i, len))) {
            for (char32_t ch : *characters) appendUtf8(out, ch);
        } else {
            out += "\xEF\xBF\xBD";
        }
        i += len;
    }
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view text, std::size_t* badOffset) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const std::size_t len = utf8SequenceLength(b);
        const auto ch =
            len == 0 || i + len > text.size() ? std::nullopt : decodeUtf8(text.substr(i, len));
        if (!ch || !appendCp932(out, *ch)) {
            if (badOffset) *badOffset = i;
            return std::nullopt;
        }
        i += len;
    }
    return out;
}

}  // namespace corvan
