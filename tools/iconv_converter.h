#pragma once

// The C library's character set converter, one whole piece of text at a time: what the code page
// 932 tables are made from (make_cp932_table) and held to (tests/engine/cp932_test.cpp).

#include <iconv.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace corvan {

class IconvConverter {
public:
    enum class Outcome { Converted, Incomplete, Invalid };

    IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvConverter() {
        if (valid()) iconv_close(cd_);
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts exactly `in`, whole, into `out`: Incomplete when it ends inside a character.
    Outcome convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[32];
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return errno == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
        }
        if (srcLeft != 0) return Outcome::Invalid;
        out.assign(buffer, static_cast<std::size_t>(dst - buffer));
        return Outcome::Converted;
    }

private:
    iconv_t cd_;
};

}  // namespace corvan
