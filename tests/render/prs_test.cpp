#include "render/prs.h"

#include <gtest/gtest.h>

#include <random>

namespace corvan {
namespace {

std::vector<std::uint8_t> header(std::uint32_t size) {
    return {0,
            0,
            static_cast<std::uint8_t>(size),
            static_cast<std::uint8_t>(size >> 8),
            static_cast<std::uint8_t>(size >> 16),
            0,
            0,
            0};
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

// The decoder as plainly as it can be written: a 16 KiB ring window, byte by byte. For a file
// with a whole header: what the stream yields, cut to the decoded size, and whether it got
// that far before the input ran out.
struct PlainDecoding {
    std::vector<std::uint8_t> bytes;
    bool complete = false;
};

PlainDecoding plainDecode(const std::vector<std::uint8_t>& file) {
    static constexpr int kLengths[16] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 24, 32, 64, 128};
    const std::uint32_t size = file[2] | file[3] << 8 | file[4] << 16;
    PlainDecoding result;
    std::vector<std::uint8_t>& out = result.bytes;
    std::vector<std::uint8_t> window(16384, 0);
    std::size_t w = 0;
    std::size_t in = 8;
    do {
        if (in + 1 > file.size()) {
            if (out.size() < size) return result;
            break;
        }
        const std::uint8_t flags = file[in++];
        for (int bit = 7; bit >= 0; --bit) {
            const bool reference = (flags >> bit & 1) != 0;
            if (in + (reference ? 2 : 1) > file.size()) {
                if (out.size() < size) return result;
                break;
            }
            if (!reference) {
                out.push_back(file[in]);
                window[w] = file[in++];
                w = (w + 1) % 16384;
                continue;
            }
            const std::uint8_t b1 = file[in++];
            const std::uint8_t b2 = file[in++];
            std::size_t s = (w + 16384 - ((b1 >> 4) + (b2 << 4))) % 16384;
            for (int i = 0; i < kLengths[b1 & 0x0F]; ++i) {
                const std::uint8_t x = window[s];
                s = (s + 1) % 16384;
                out.push_back(x);
                window[w] = x;
                w = (w + 1) % 16384;
            }
        }
    } while (out.size() < size);
    out.resize(size);
    result.complete = true;
    return result;
}

// Random streams of every shape, against the plain decoder, all through one reused decoder: a
// picture must not see anything of the one before. Short distances and each length come often,
// references reach before the start and around the window, and many streams are cut short.
TEST(PrsDecode, AgreesWithThePlainDecoderOnAnyStream) {
    std::mt19937 rng(13);
    PrsDecoder decoder;
    for (int round = 0; round < 3000; ++round) {
        const std::uint32_t size = round % 50 == 0 ? 20000 + rng() % 30000 : rng() % 3000;
        auto file = header(size);
        const unsigned referenceShare = rng() % 9;  // in eighths: none, some, all
        const bool shortDistances = rng() % 2 == 0;
        std::size_t groups = size / 8 * (rng() % 3) / 2 + rng() % 8;
        for (; groups > 0; --groups) {
            std::uint8_t flags = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (rng() % 8 < referenceShare) flags |= static_cast<std::uint8_t>(1 << bit);
            }
            file.push_back(flags);
            for (int bit = 7; bit >= 0; --bit) {
                file.push_back(static_cast<std::uint8_t>(rng()));
                if (flags >> bit & 1) {
                    file.push_back(static_cast<std::uint8_t>(shortDistances ? 0 : rng()));
                }
            }
        }
        if (round % 3 == 0) file.resize(8 + rng() % (file.size() - 7));
        const PlainDecoding want = plainDecode(file);
        std::string error;
        const auto got = decoder.decode(file, error);
        ASSERT_EQ(got.has_value(), want.complete) << "round " << round << ": " << error;
        if (want.complete) {
            ASSERT_TRUE(std::equal(got->begin(), got->end(), want.bytes.begin(), want.bytes.end()))
                << "round " << round;
        } else {
            ASSERT_EQ(error, "PRS stream ends after " + std::to_string(want.bytes.size()) + " of " +
                                 std::to_string(size) + " bytes")
                << "round " << round;
        }
    }
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
