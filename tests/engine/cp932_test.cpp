// Conversion between code page 932 (the game's Shift-JIS) and UTF-8.

#include "engine/cp932.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/utf8.h"
#include "tools/iconv_converter.h"

namespace corvan {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

TEST(Cp932, GivenJapaneseText_WhenConvertedToCp932AndBack_ThenTextIsUnchanged) {
    const std::string text = "こんにちは、世界。カタカナ ｶﾀｶﾅ ABC 123 ▼「」";
    const auto bytes = utf8ToCp932(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(cp932ToUtf8(*bytes), text);
}

TEST(Cp932, GivenKnownCharacters_WhenConverted_ThenTheyHaveTheirCodePageBytes) {
    EXPECT_EQ(utf8ToCp932("あ"), std::string("\x82\xA0"));
    EXPECT_EQ(utf8ToCp932("漢"), std::string("\x8A\xBF"));
    EXPECT_EQ(utf8ToCp932("▼"), std::string("\x81\xA5"));
    EXPECT_EQ(utf8ToCp932("ｱ"), std::string("\xB1"));  // half-width katakana: one byte
    EXPECT_EQ(cp932ToUtf8("\xB1\xB2"), "ｱｲ");
    EXPECT_EQ(cp932ToUtf8("\x82\xA0\x8A\xBF"), "あ漢");
}

TEST(Cp932, GivenBackslashAndTilde_WhenConverted_ThenTheyStayAsciiBothWays) {
    // Code page 932 keeps 0x5C and 0x7E as ASCII, unlike plain Shift-JIS (yen sign, overline).
    EXPECT_EQ(utf8ToCp932("\\"), std::string("\x5C"));
    EXPECT_EQ(cp932ToUtf8("\x5C"), "\\");
    EXPECT_EQ(utf8ToCp932("~"), std::string("\x7E"));
    EXPECT_EQ(cp932ToUtf8("\x7E"), "~");
    EXPECT_EQ(cp932ToUtf8("C:\\GAME\\mg_data.stf"), "C:\\GAME\\mg_data.stf");
}

TEST(Cp932, GivenWindowsExtensionCharacters_WhenConverted_ThenTheyMapBothWays) {
    // NEC row 13 extensions.
    EXPECT_EQ(utf8ToCp932("①"), std::string("\x87\x40"));
    EXPECT_EQ(cp932ToUtf8("\x87\x40"), "①");
    EXPECT_EQ(utf8ToCp932("㈱"), std::string("\x87\x8A"));
    EXPECT_EQ(cp932ToUtf8("\x87\x8A"), "㈱");
    // IBM extensions.
    EXPECT_EQ(utf8ToCp932("髙"), std::string("\xFB\xFC"));
    EXPECT_EQ(cp932ToUtf8("\xFB\xFC"), "髙");
    // Full-width forms that code page 932 maps differently from plain Shift-JIS.
    EXPECT_EQ(cp932ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(cp932ToUtf8("\x81\x7C"), "－");
}

TEST(Cp932, GivenBytesWithNoCharacter_WhenDecoded_ThenEachBecomesReplacementAndRestIsKept) {
    // 0x80, 0xA0 and 0xFD-0xFF are single bytes without a character: each gives one U+FFFD and
    // the character after it is still decoded.
    EXPECT_EQ(cp932ToUtf8("\x80"), kReplacement);
    EXPECT_EQ(cp932ToUtf8("\xA0"), kReplacement);
    EXPECT_EQ(cp932ToUtf8(std::string("A") + "\x80" + "B"), "A" + kReplacement + "B");
    EXPECT_EQ(cp932ToUtf8(std::string("A") + "\xA0" + "B"), "A" + kReplacement + "B");
    EXPECT_EQ(cp932ToUtf8(std::string("A") + "\xFD" + "B" + "\xFE" + "C" + "\xFF" + "D"),
              "A" + kReplacement + "B" + kReplacement + "C" + kReplacement + "D");
    EXPECT_EQ(cp932ToUtf8("\x80\x82\xA0"), kReplacement + "あ");
    EXPECT_EQ(cp932ToUtf8("\xFF\x82\xA0\xFE"), kReplacement + "あ" + kReplacement);
}

TEST(Cp932, GivenLeadByteAtTheEnd_WhenDecoded_ThenItBecomesReplacement) {
    EXPECT_EQ(cp932ToUtf8("\x82\xA0\x82"), "あ" + kReplacement);
    EXPECT_EQ(cp932ToUtf8(""), "");
}

TEST(Cp932, GivenCharacterWithNoCodePageForm_WhenEncoded_ThenFailsAtItsByteOffset) {
    std::size_t bad = 999;
    EXPECT_FALSE(utf8ToCp932("ab😀cd", &bad).has_value());
    EXPECT_EQ(bad, 2u);
    bad = 999;
    EXPECT_FALSE(utf8ToCp932("あい😀", &bad).has_value());
    EXPECT_EQ(bad, 6u);  // after two three-byte characters
    bad = 999;
    EXPECT_FALSE(utf8ToCp932("x한", &bad).has_value());  // Hangul has no code page 932 form
    EXPECT_EQ(bad, 1u);
    EXPECT_FALSE(utf8ToCp932("😀").has_value());  // no offset asked for: still just fails
}

TEST(Cp932, GivenInvalidUtf8_WhenEncoded_ThenFailsAtTheBadByte) {
    std::size_t bad = 999;
    EXPECT_FALSE(utf8ToCp932("ok\xFF", &bad).has_value());
    EXPECT_EQ(bad, 2u);
    bad = 999;
    EXPECT_FALSE(utf8ToCp932("ab\xE3\x81", &bad).has_value());  // sequence cut short
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(utf8ToCp932(""), std::string());
}

// What the C library's converter, which the tables were made from and the game once called,
// gives for exactly these bytes; nullopt when it refuses them.
class LibraryConverter {
public:
    LibraryConverter(const char* to, const char* from) : converter_(to, from) {}
    std::optional<std::string> operator()(std::string_view in) {
        std::string out;
        if (converter_.convert(in, out) != IconvConverter::Outcome::Converted) return std::nullopt;
        return out;
    }

private:
    IconvConverter converter_;
};

std::optional<std::string> asUtf32(const std::optional<std::u32string>& text) {
    if (!text) return std::nullopt;
    std::string out;
    for (char32_t ch : *text) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(ch >> shift));
    }
    return out;
}

std::string utf8Of(char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    return out;
}

TEST(Cp932, GivenEveryByteAndBytePair_WhenDecoded_ThenTheTablesGiveWhatTheLibraryGives) {
    LibraryConverter library("UTF-32LE", "CP932");
    int differences = 0;
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        if (asUtf32(cp932Characters(one)) != library(one)) ++differences;
        for (int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            if (asUtf32(cp932Characters(two)) != library(two)) {
                ADD_FAILURE() << "bytes " << a << " " << b;
                if (++differences > 10) return;
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(Cp932, GivenEveryCharacterAndBrokenUtf8_WhenEncoded_ThenTheTablesGiveWhatTheLibraryGives) {
    LibraryConverter library("CP932", "UTF-8");
    int differences = 0;
    auto check = [&](const std::string& utf8) {
        if (utf8ToCp932(utf8) == library(utf8)) return;
        ADD_FAILURE() << "UTF-8 bytes of length " << utf8.size() << ", first "
                      << static_cast<int>(static_cast<unsigned char>(utf8[0]));
        ++differences;
    };
    for (char32_t cp = 0; cp <= 0x10FFFF && differences < 10; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) check(utf8Of(cp));
    }
    // Overlong forms, surrogates, stray and missing continuation bytes, values past U+10FFFF.
    for (int lead = 0xC0; lead < 0x100 && differences < 10; ++lead) {
        for (int second = 0; second < 256; ++second) {
            check({static_cast<char>(lead), static_cast<char>(second)});
            check({static_cast<char>(lead), static_cast<char>(second), '\x80'});
            check({static_cast<char>(lead), static_cast<char>(second), '\x80', '\x80'});
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace corvan
