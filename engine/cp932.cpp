#include "engine/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace corvan {

namespace {

// One iconv descriptor, closed with its owner.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts exactly `in`; false when iconv refuses it.
    bool convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[32];
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return false;
        }
        if (srcLeft != 0) return false;
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes) {
    Converter converter("UTF-8", "CP932");
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
        if (!converter.valid() || !converter.convert(bytes.substr(i, len), out)) {
            out += "\xEF\xBF\xBD";
        }
        i += len;
    }
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view text, std::size_t* badOffset) {
    Converter converter("CP932", "UTF-8");
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
        if (len == 0 || i + len > text.size() || !converter.valid() ||
            !converter.convert(text.substr(i, len), out)) {
            if (badOffset) *badOffset = i;
            return std::nullopt;
        }
        i += len;
    }
    return out;
}

}  // namespace corvan
