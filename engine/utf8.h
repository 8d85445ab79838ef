#pragma once

// The UTF-8 form of one Unicode character.

#include <string>

namespace corvan {

inline void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | ch >> 6));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | ch >> 12));
        out.push_back(static_cast<char>(0x80 | (ch >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | ch >> 18));
        out.push_back(static_cast<char>(0x80 | (ch >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

}  // namespace corvan
