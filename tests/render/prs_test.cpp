#include "render/prs.h"

#include <gtest/gtest.h>

#include <random>

namespace corvan {
namespace {

std::vector<std::uint8_t> header(std::uint32_t size) {
    return {0, 0, static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
            static_cast<std::uint8_t>(size >> 16), 0, 0, 0};
}

std::vector<std::uint8_t> decode(const std::vector<std::uint8_t>& file) {
    std::string error;
    auto out = decodePrsBytes(file, error);
    EXPECT_TRUE(out.has_value()) << error;
    return out.value_or(std::vector<std::uint8_t>{});
}

TEST(PrsDecode, LiteralThenDistanceOneReferenceRepeatsTheByte) {
    // Item 1: literal 0x41; item 2: reference of length 5 (code 2) at distance 1; then padding.
    auto file = header(6);
    file.insert(file.end(), {0x40, 0x41, 0x12, 0x00, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(decode(file), std::vector<std::uint8_t>(6, 0x41));
}

TEST(PrsDecode, ReferencesBeforeTheStartReadTheZeroedWindow) {
    auto file = header(4);
    // Literal 7, then a reference of length 3 at distance 100: three zeros from the window.
    file.insert(file.end(), {0x40, 0x07, 0x40, 0x06, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(decode(file), (std::vector<std::uint8_t>{7, 0, 0, 0}));
}

TEST(PrsDecode, DistanceZeroReadsTheByteAboutToBeOverwritten) {
    // With fewer than 16 KiB produced, the slot under the window position still holds zero.
    auto file = header(4);
    file.insert(file.end(), {0x40, 0x09, 0x00, 0x00, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(decode(file), (std::vector<std::uint8_t>{9, 0, 0, 0}));
}

TEST(PrsDecode, TheLastGroupIsCutToTheDecodedSize) {
    auto file = header(3);
    file.insert(file.end(), {0x00, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(decode(file), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(PrsDecode, AStreamCutShortBeforeTheDecodedSizeIsRefused) {
    auto file = header(20);
    file.insert(file.end(), {0x00, 1, 2, 3});
    std::string error;
    EXPECT_FALSE(decodePrsBytes(file, error).has_value());
    EXPECT_NE(error.find("ends"), std::string::npos);
    EXPECT_FALSE(decodePrsBytes(std::vector<std::uint8_t>{1, 2, 3}, error).has_value());
}

TEST(PrsDecode, ADecodedSizeOverOneMebibyteIsRefused) {
    auto file = header(kMaxPrsDecodedSize + 1);
    file.insert(file.end(), 9, 0);
    std::string error;
    EXPECT_FALSE(decodePrsBytes(file, error).has_value());
}

TEST(PrsDecode, ReferencesWrapAroundTheSixteenKibibyteWindow) {
    // 16 384 literals fill the window once; a distance-0 reference then reads the first of them.
    std::vector<std::uint8_t> data(16384);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    auto file = header(16384 + 3);
    for (std::size_t i = 0; i < data.size(); i += 8) {
        file.push_back(0);
        file.insert(file.end(), data.begin() + i, data.begin() + i + 8);
    }
    file.insert(file.end(), {0x80, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0});
    const auto out = decode(file);
    ASSERT_EQ(out.size(), 16384u + 3);
    EXPECT_EQ(out[16384], data[0]);
    EXPECT_EQ(out[16385], data[1]);
    EXPECT_EQ(out[16386], data[2]);
}

TEST(PrsEncode, RoundTripsPicturesExactlyAndCompressesRepeats) {
    std::mt19937 rng(5);
    std::vector<std::vector<std::uint8_t>> inputs = {{}, {1}, std::vector<std::uint8_t>(5000, 0)};
    std::vector<std::uint8_t> mixed;
    for (int i = 0; i < 200000; ++i) {
        mixed.push_back(static_cast<std::uint8_t>(i % 640 < 300 ? (i / 3) % 50 : rng() % 256));
    }
    inputs.push_back(mixed);
    for (const auto& data : inputs) {
        const auto encoded = encodePrsBytes(data);
        EXPECT_EQ(decode(encoded), data);
    }
    EXPECT_LT(encodePrsBytes(inputs[2]).size(), 200u);
}

}  // namespace
}  // namespace corvan
