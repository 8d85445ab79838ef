// make_cp932_table: writes the C++ source of the code page 932 tables (engine/cp932_table.h)
// from the C library's converter, asking it about every byte, every byte pair and every Unicode
// character. Run at build time, so the tables are always those of the converter the desktop
// game has always used.

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_write.h"

namespace {

constexpr const char* kUsage =
    "usage: make_cp932_table OUTPUT.cpp\n"
    "\n"
    "Writes the code page 932 tables of engine/cp932_table.h, as the C library's converter\n"
    "(\"CP932\") maps every byte, byte pair and Unicode character.\n";

enum class Outcome { Converted, Incomplete, Invalid };

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts exactly `in`, whole, into `out`.
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

// The one character of UTF-32LE bytes; nullopt for none or more than one.
std::optional<char32_t> oneCharacter(const std::string& utf32) {
    if (utf32.size() != 4) return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(utf32.data());
    return static_cast<char32_t>(p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24);
}

std::string utf8(std::uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        s.push_back(static_cast<char>(0xC0 | cp >> 6));
        s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        s.push_back(static_cast<char>(0xE0 | cp >> 12));
        s.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        s.push_back(static_cast<char>(0xF0 | cp >> 18));
        s.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return s;
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 2) {
        std::cerr << kUsage;
        return 2;
    }
    Converter decoder("UTF-32LE", "CP932");
    Converter encoder("CP932", "UTF-8");
    if (!decoder.valid() || !encoder.valid()) {
        std::cerr << "make_cp932_table: the C library has no CP932 converter\n";
        return 1;
    }

    std::array<std::uint32_t, 256> single{};
    std::array<std::uint8_t, 256> leadIndex{};
    std::vector<int> leads;
    std::string out;
    for (int b = 0; b < 256; ++b) {
        const std::string in(1, static_cast<char>(b));
        const Outcome outcome = decoder.convert(in, out);
        single[b] = 0xFFFFFFFF;
        if (outcome == Outcome::Incomplete) {
            single[b] = 0xFFFFFFFE;
            leadIndex[b] = static_cast<std::uint8_t>(leads.size());
            leads.push_back(b);
        } else if (outcome == Outcome::Converted) {
            if (const auto ch = oneCharacter(out)) single[b] = *ch;
        }
    }
    if (leads.size() != 60) {
        std::cerr << "make_cp932_table: the converter has " << leads.size()
                  << " lead bytes, not the 60 of code page 932\n";
        return 1;
    }
    std::vector<std::uint16_t> pairs(leads.size() * 256, 0);
    for (std::size_t i = 0; i < leads.size(); ++i) {
        for (int trail = 0; trail < 256; ++trail) {
            const std::string in{static_cast<char>(leads[i]), static_cast<char>(trail)};
            if (decoder.convert(in, out) != Outcome::Converted) continue;
            const auto ch = oneCharacter(out);
            if (!ch || *ch == 0 || *ch > 0xFFFF) {
                std::cerr << "make_cp932_table: pair " << hex(leads[i]) << " " << hex(trail)
                          << " is not one character of the Basic Multilingual Plane\n";
                return 1;
            }
            pairs[i * 256 + static_cast<std::size_t>(trail)] = static_cast<std::uint16_t>(*ch);
        }
    }
    std::string encodings;
    std::size_t encodingCount = 0;
    for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (encoder.convert(utf8(cp), out) != Outcome::Converted) continue;
        // A few characters (the language tags) convert to nothing at all.
        if (out.size() > 2) {
            std::cerr << "make_cp932_table: U+" << hex(cp) << " has " << out.size() << " bytes\n";
            return 1;
        }
        std::uint32_t bytes = out.empty() ? 0 : static_cast<unsigned char>(out[0]);
        if (out.size() == 2) bytes = bytes << 8 | static_cast<unsigned char>(out[1]);
        encodings +=
            "    {" + hex(cp) + ", " + hex(bytes) + ", " + std::to_string(out.size()) + "},\n";
        ++encodingCount;
    }

    std::string source =
        "// Generated by make_cp932_table from the C library's CP932 converter. Do not edit.\n"
        "#include \"engine/cp932_table.h\"\n\nnamespace corvan::cp932_table {\n\n"
        "const char32_t kSingle[256] = {\n";
    for (int b = 0; b < 256; ++b) {
        source += (b % 8 == 0 ? "    " : "") + hex(single[b]) + (b % 8 == 7 ? ",\n" : ", ");
    }
    source += "};\n\nconst std::uint8_t kLeadIndex[256] = {\n";
    for (int b = 0; b < 256; ++b) {
        source += (b % 16 == 0 ? "    " : "") + std::to_string(leadIndex[b]) +
                  (b % 16 == 15 ? ",\n" : ", ");
    }
    source += "};\n\nconst std::uint16_t kDouble[kLeadCount * 256] = {\n";
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        source += (i % 16 == 0 ? "    " : "") + hex(pairs[i]) + (i % 16 == 15 ? ",\n" : ", ");
    }
    source += "};\n\nconst Encoding kEncodings[] = {\n" + encodings + "};\n";
    source += "const std::size_t kEncodingCount = " + std::to_string(encodingCount) + ";\n";
    source += "\n}  // namespace corvan::cp932_table\n";

    std::string error;
    if (!corvan::writeFileAtomically(argv[1], source, error)) {
        std::cerr << "make_cp932_table: " << error << "\n";
        return 1;
    }
    return 0;
}
