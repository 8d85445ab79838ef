#include "engine/variables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace corvan {
namespace {

bool allFlagBytesAre(const Variables& vars, std::uint8_t value) {
    const auto& bytes = vars.flagBytes();
    return std::all_of(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b == value; });
}

TEST(Flags, GivenFlagN_WhenSet_ThenBitNMod8OfByteNDiv8IsSet) {
    Variables vars;
    vars.SetFlag(0);
    EXPECT_EQ(vars.flagBytes()[0], 0x01);
    vars.SetFlag(7);
    EXPECT_EQ(vars.flagBytes()[0], 0x81);
    vars.SetFlag(8);
    EXPECT_EQ(vars.flagBytes()[1], 0x01);
    vars.SetFlag(19);
    EXPECT_EQ(vars.flagBytes()[2], 0x08);
    vars.SetFlag(1023);
    EXPECT_EQ(vars.flagBytes()[127], 0x80);
    EXPECT_EQ(vars.flagBytes()[128], 0x00);
}

TEST(Flags, GivenAFullByte_WhenOneFlagIsClearedAndSet_ThenOnlyItsBitChanges) {
    Variables vars;
    vars.flagBytes()[12] = 0xFF;  // flags 96-103
    vars.ClearFlag(100);
    EXPECT_EQ(vars.flagBytes()[12], 0xEF);
    EXPECT_FALSE(vars.TestFlag(100));
    EXPECT_TRUE(vars.TestFlag(99));
    EXPECT_TRUE(vars.TestFlag(101));
    vars.SetFlag(100);
    EXPECT_EQ(vars.flagBytes()[12], 0xFF);
    EXPECT_TRUE(vars.TestFlag(100));
}

TEST(Flags, GivenASetFlag_WhenSetOrClearedTwice_ThenTheStateHolds) {
    Variables vars;
    vars.SetFlag(5);
    vars.SetFlag(5);
    EXPECT_TRUE(vars.TestFlag(5));
    vars.ClearFlag(5);
    vars.ClearFlag(5);
    EXPECT_FALSE(vars.TestFlag(5));
}

TEST(Flags, GivenFlagNumbersFrom1024_WhenUsed_ThenIgnoredAndReadClear) {
    Variables vars;
    vars.SetFlag(1024);
    vars.SetFlag(2047);
    vars.SetFlag(std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(allFlagBytesAre(vars, 0));

    vars.flagBytes().fill(0xFF);
    EXPECT_FALSE(vars.TestFlag(1024));
    EXPECT_FALSE(vars.TestFlag(1025));
    vars.ClearFlag(1024);
    vars.ClearFlag(1031);
    EXPECT_TRUE(allFlagBytesAre(vars, 0xFF));
}

TEST(Flags, GivenNegativeFlagNumbers_WhenUsed_ThenIgnoredAndReadClear) {
    Variables vars;
    vars.SetFlag(-1);
    vars.SetFlag(std::numeric_limits<std::int32_t>::min());
    EXPECT_TRUE(allFlagBytesAre(vars, 0));
    vars.flagBytes().fill(0xFF);
    EXPECT_FALSE(vars.TestFlag(-1));
    EXPECT_FALSE(vars.TestFlag(-8));
    vars.ClearFlag(-1);
    EXPECT_TRUE(allFlagBytesAre(vars, 0xFF));
}

TEST(Values, GivenExtremeValues_WhenStoredInVAndS_ThenReadBackApart) {
    Variables vars;
    vars.setV(0, std::numeric_limits<std::int32_t>::min());
    vars.setV(999, std::numeric_limits<std::int32_t>::max());
    vars.setS(0, -5);
    vars.setS(999, 12345678);
    EXPECT_EQ(vars.v(0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(vars.v(999), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(vars.s(0), -5);
    EXPECT_EQ(vars.s(999), 12345678);
    EXPECT_EQ(vars.read('V', 999), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(vars.read('S', 0), -5);
}

TEST(Values, GivenElementsFrom1000_WhenWrittenAndRead_ThenIgnoredAndZero) {
    Variables vars;
    vars.setV(1000, 7);
    vars.setS(1000, 7);
    vars.setV(5000, 7);
    EXPECT_EQ(vars.v(1000), 0);
    EXPECT_EQ(vars.s(1000), 0);
    EXPECT_EQ(vars.read('V', 5000), 0);
    const auto& v = vars.values();
    const auto& s = vars.systemValues();
    EXPECT_TRUE(std::all_of(v.begin(), v.end(), [](std::int32_t x) { return x == 0; }));
    EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](std::int32_t x) { return x == 0; }));
}

TEST(Values, GivenNegativeElements_WhenWrittenAndRead_ThenIgnoredAndZero) {
    Variables vars;
    vars.values().fill(9);
    vars.systemValues().fill(9);
    vars.persistentValues().fill(9);
    vars.setV(-1, 1);
    vars.setS(-1, 1);
    vars.setE(-1, 1);
    EXPECT_EQ(vars.v(-1), 0);
    EXPECT_EQ(vars.s(-1), 0);
    EXPECT_EQ(vars.e(-1), 0);
    EXPECT_EQ(vars.read('E', -1), 0);
    EXPECT_EQ(vars.v(0), 9);
    EXPECT_EQ(vars.s(0), 9);
    EXPECT_EQ(vars.e(0), 9);
}

TEST(PersistentValues, GivenAnyValue_WhenWrittenToE_ThenLow8BitsKeptAndReadSignExtended) {
    Variables vars;
    vars.setE(0, 200);
    EXPECT_EQ(vars.e(0), -56);
    EXPECT_EQ(vars.read('E', 0), -56);
    vars.setE(1, 255);
    EXPECT_EQ(vars.e(1), -1);
    vars.setE(2, 256 + 7);
    EXPECT_EQ(vars.e(2), 7);
    vars.setE(3, 128);
    EXPECT_EQ(vars.e(3), -128);
    vars.setE(4, 127);
    EXPECT_EQ(vars.e(4), 127);
    vars.setE(255, -1000);  // 0x...FC18: low byte 0x18
    EXPECT_EQ(vars.e(255), 24);
    EXPECT_EQ(vars.persistentValues()[0], static_cast<std::int8_t>(-56));
}

TEST(PersistentValues, GivenElementsFrom256_WhenWrittenAndRead_ThenIgnoredAndZero) {
    Variables vars;
    vars.setE(256, 5);
    vars.setE(999, 5);
    EXPECT_EQ(vars.e(256), 0);
    EXPECT_EQ(vars.read('E', 999), 0);
    const auto& e = vars.persistentValues();
    EXPECT_TRUE(std::all_of(e.begin(), e.end(), [](std::int8_t x) { return x == 0; }));
}

TEST(VariableReferences, GivenLettersFAndOthers_WhenRead_ThenFlagIsOneOrZeroAndOthersZero) {
    Variables vars;
    vars.SetFlag(7);
    vars.setV(7, 70);
    EXPECT_EQ(vars.read('F', 7), 1);
    EXPECT_EQ(vars.read('F', 8), 0);
    EXPECT_EQ(vars.read('F', 1024), 0);
    EXPECT_EQ(vars.read('X', 7), 0);
    EXPECT_EQ(vars.read('A', 7), 0);
}

TEST(GameVariables, GivenEverythingSet_WhenGameVariablesClear_ThenFlagsVAndSZeroAndEKept) {
    Variables vars;
    vars.flagBytes().fill(0xFF);  // bytes 128-255 too, which no flag number reaches
    vars.values().fill(3);
    vars.systemValues().fill(4);
    vars.setE(10, 200);

    vars.clearGameVariables();
    EXPECT_TRUE(allFlagBytesAre(vars, 0));
    EXPECT_EQ(vars.v(0), 0);
    EXPECT_EQ(vars.v(999), 0);
    EXPECT_EQ(vars.s(0), 0);
    EXPECT_EQ(vars.s(999), 0);
    EXPECT_EQ(vars.e(10), -56);
}

}  // namespace
}  // namespace corvan
