#include "engine/expressions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace corvan {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// --- EvaluateExpression ----------------------------------------------------------------------

TEST(Expression, GivenDigits_WhenEvaluated_ThenDecimal) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "0"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "42"), 42);
    EXPECT_EQ(EvaluateExpression(vars, "007"), 7);
    EXPECT_EQ(EvaluateExpression(vars, ""), 0);
}

TEST(Expression, GivenMixedOperators_WhenEvaluated_ThenStrictlyLeftToRight) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "2+3*4"), 20);
    EXPECT_EQ(EvaluateExpression(vars, "10-4-3"), 3);
    EXPECT_EQ(EvaluateExpression(vars, "100/10/5"), 2);
    EXPECT_EQ(EvaluateExpression(vars, "1+2*3-4/2"), 2);
}

TEST(Expression, GivenALeadingSign_WhenEvaluated_ThenAppliedToZero) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "-5"), -5);
    EXPECT_EQ(EvaluateExpression(vars, "-5*2"), -10);
    EXPECT_EQ(EvaluateExpression(vars, "+5"), 5);
}

TEST(Expression, GivenANegativeQuotient_WhenDividing_ThenTruncatedTowardZero) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "-7/2"), -3);
    EXPECT_EQ(EvaluateExpression(vars, "7/2"), 3);
    vars.setV(1, 2);
    vars.setV(2, -2);
    EXPECT_EQ(EvaluateExpression(vars, "7/V002"), -3);
    EXPECT_EQ(EvaluateExpression(vars, "-7/V002"), 3);
}

TEST(Expression, GivenADivisionByZero_WhenEvaluated_ThenZeroAndTheRestGoesOn) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "7/0"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "7/0+5"), 5);
    EXPECT_EQ(EvaluateExpression(vars, "7/V009"), 0);
}

TEST(Expression, GivenTheMostNegativeValue_WhenDividedByMinusOne_ThenItStays) {
    Variables vars;
    vars.setV(1, kMin);
    vars.setV(2, -1);
    EXPECT_EQ(EvaluateExpression(vars, "V001/V002"), kMin);
}

TEST(Expression, GivenAnOverflow_WhenEvaluated_ThenItWrapsIn32Bits) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "2147483647+1"), kMin);
    EXPECT_EQ(EvaluateExpression(vars, "0-2147483647-2"), kMax);
    EXPECT_EQ(EvaluateExpression(vars, "65536*65536"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "65536*32768"), kMin);
    vars.setV(1, kMax);
    EXPECT_EQ(EvaluateExpression(vars, "V001*2"), -2);
}

TEST(Expression, GivenReferencesToEachArray_WhenEvaluated_ThenTheirValuesAreUsed) {
    Variables vars;
    vars.setV(1, 10);
    vars.setS(777, 20);
    vars.setE(12, 30);
    vars.SetFlag(19);
    EXPECT_EQ(EvaluateExpression(vars, "V001"), 10);
    EXPECT_EQ(EvaluateExpression(vars, "S777"), 20);
    EXPECT_EQ(EvaluateExpression(vars, "E012"), 30);
    EXPECT_EQ(EvaluateExpression(vars, "F019"), 1);
    EXPECT_EQ(EvaluateExpression(vars, "F020"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "V001+S777*F019-E012"), 0);
}

TEST(Expression, GivenE3Is255_WhenReferenced_ThenMinusOne) {
    Variables vars;
    vars.setE(3, 255);
    EXPECT_EQ(EvaluateExpression(vars, "E003"), -1);
    EXPECT_EQ(EvaluateExpression(vars, "E003*5"), -5);
}

TEST(Expression, GivenLowerCaseLetters_WhenEvaluated_ThenLikeCapitals) {
    Variables vars;
    vars.setV(5, 4);
    vars.setS(6, 3);
    vars.setE(7, 2);
    vars.SetFlag(8);
    EXPECT_EQ(EvaluateExpression(vars, "v005*s006"), 12);
    EXPECT_EQ(EvaluateExpression(vars, "e007+f008"), 3);
}

TEST(Expression, GivenAShortReference_WhenEvaluated_ThenThreeBytesAfterTheLetterAreSkipped) {
    Variables vars;
    vars.setV(12, 5);
    vars.setV(1, 7);
    // V12+3 reads V12, swallows "12+", and the 3 continues the number: V12 * 10 + 3.
    EXPECT_EQ(EvaluateExpression(vars, "V12+3"), 53);
    // V1+23 reads V1, swallows "1+2", then 3 continues: V1 * 10 + 3.
    EXPECT_EQ(EvaluateExpression(vars, "V1+23"), 73);
    // A reference at the end of the text stops there.
    EXPECT_EQ(EvaluateExpression(vars, "V1"), 7);
    EXPECT_EQ(EvaluateExpression(vars, "2*V12"), 10);
}

TEST(Expression, GivenAFourDigitReference_WhenEvaluated_ThenAllDigitsNameTheElement) {
    Variables vars;
    vars.setV(12, 4);
    // "V0012" names V12 (all digits count) but skips only "001"; the last 2 continues.
    EXPECT_EQ(EvaluateExpression(vars, "V0012"), 42);
}

TEST(Expression, GivenAnUnknownByte_WhenEvaluated_ThenTheWholeExpressionIsZero) {
    Variables vars;
    vars.setV(1, 9);
    EXPECT_EQ(EvaluateExpression(vars, "5+X"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "5+x"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "(5)"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "5=5"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "5.5"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "V001+5%"), 0);
    EXPECT_EQ(EvaluateExpression(vars, "5\x82\x4F"), 0);
}

TEST(Expression, GivenABlankTabOrCarriageReturn_WhenEvaluated_ThenTheTextEndsThere) {
    Variables vars;
    EXPECT_EQ(EvaluateExpression(vars, "2+3 *4"), 5);
    EXPECT_EQ(EvaluateExpression(vars, "2+3\t*4"), 5);
    EXPECT_EQ(EvaluateExpression(vars, "2+3\r*4"), 5);
    EXPECT_EQ(EvaluateExpression(vars, "2+3 garbage("), 5);
    EXPECT_EQ(EvaluateExpression(vars, " 7"), 0);
    EXPECT_EQ(EvaluateExpression(vars, std::string_view("2+3\0*4", 6)), 5);
}

TEST(Expression, GivenOverLongText_WhenEvaluated_ThenCutTo118Bytes) {
    Variables vars;
    // 118 bytes of text fit: 59 times "1+"; the rest is never seen.
    EXPECT_EQ(EvaluateExpression(vars, repeat("1+", 300)), 59);
    EXPECT_EQ(EvaluateExpression(vars, repeat("9", 1000)),
              EvaluateExpression(vars, repeat("9", 118)));
}

// --- Calc ------------------------------------------------------------------------------------

TEST(Calc, GivenV005PlusOne_WhenCalculated_ThenV5Increments) {
    Variables vars;
    vars.setV(5, 41);
    Calc(vars, "V005=V005+1");
    EXPECT_EQ(vars.v(5), 42);
    Calc(vars, "V005=V005+1");
    EXPECT_EQ(vars.v(5), 43);
}

TEST(Calc, GivenAnySeparatorByte_WhenCalculated_ThenItIsIgnored) {
    for (const char* text : {"V005=17", "V005:17", "V005x17", "V005+17", "V005-17", "V005/17",
                             "V005\xB1"
                             "17"}) {
        Variables vars;
        vars.setV(5, 1);
        Calc(vars, text);
        EXPECT_EQ(vars.v(5), 17) << text;
    }
}

TEST(Calc, GivenABlankSeparator_WhenCalculated_ThenZeroIsStored) {
    Variables vars;
    vars.setV(5, 1);
    Calc(vars, "V005 17");
    EXPECT_EQ(vars.v(5), 0);
}

TEST(Calc, GivenAOneDigitTarget_WhenCalculated_ThenTheExpressionStartsAtByte5) {
    Variables vars;
    Calc(vars, "V5=123");
    EXPECT_EQ(vars.v(5), 3);
    Calc(vars, "S12=345");
    EXPECT_EQ(vars.s(12), 45);
}

TEST(Calc, GivenSAndLowerCaseVTargets_WhenCalculated_ThenStored) {
    Variables vars;
    Calc(vars, "S010=0-8");
    Calc(vars, "v011=6*7");
    EXPECT_EQ(vars.s(10), -8);
    EXPECT_EQ(vars.v(11), 42);
}

TEST(Calc, GivenAFlagTarget_WhenCalculated_ThenZeroClearsOneSetsOthersDoNothing) {
    Variables vars;
    Calc(vars, "F007=1");
    EXPECT_TRUE(vars.TestFlag(7));
    Calc(vars, "F007=2");
    EXPECT_TRUE(vars.TestFlag(7));
    Calc(vars, "F007=-1");
    EXPECT_TRUE(vars.TestFlag(7));
    Calc(vars, "F007=0");
    EXPECT_FALSE(vars.TestFlag(7));
    Calc(vars, "F007=2");
    EXPECT_FALSE(vars.TestFlag(7));
    Calc(vars, "F007=3-2");
    EXPECT_TRUE(vars.TestFlag(7));
    EXPECT_EQ(vars.flagBytes()[0], 0x80);
}

TEST(Calc, GivenAnETarget_WhenCalculated_ThenTheLow8BitsAreStored) {
    Variables vars;
    Calc(vars, "E003=255");
    EXPECT_EQ(vars.e(3), -1);
    Calc(vars, "E004=300");
    EXPECT_EQ(vars.e(4), 44);
    Calc(vars, "E005=0-129");
    EXPECT_EQ(vars.e(5), 127);
}

TEST(Calc, GivenAnUnknownTargetLetter_WhenCalculated_ThenNothingChanges) {
    Variables vars;
    const Variables before = vars;
    for (const char* text : {"X005=7", "A001=1", "1005=7", "=005=7"}) Calc(vars, text);
    EXPECT_EQ(vars.flagBytes(), before.flagBytes());
    EXPECT_EQ(vars.values(), before.values());
    EXPECT_EQ(vars.systemValues(), before.systemValues());
    EXPECT_EQ(vars.persistentValues(), before.persistentValues());
}

TEST(Calc, GivenABadExpression_WhenCalculated_ThenZeroIsStored) {
    Variables vars;
    vars.setV(1, 5);
    Calc(vars, "V001=3+(4)");
    EXPECT_EQ(vars.v(1), 0);
}

TEST(Calc, GivenATargetOutsideItsArray_WhenCalculated_ThenNothingChanges) {
    Variables vars;
    const Variables before = vars;
    // Byte 5 on is the expression, so each of these stores 5 (or 1) in element 10005 and so on.
    Calc(vars, "V10005");
    Calc(vars, "S10005");
    Calc(vars, "E2565");
    Calc(vars, "F10241");
    EXPECT_EQ(vars.flagBytes(), before.flagBytes());
    EXPECT_EQ(vars.values(), before.values());
    EXPECT_EQ(vars.systemValues(), before.systemValues());
    EXPECT_EQ(vars.persistentValues(), before.persistentValues());
}

TEST(Calc, GivenAnOverLongArgument_WhenCalculated_ThenItIsCut) {
    Variables vars;
    // The argument keeps 126 bytes; the expression from byte 5 is then cut to 118.
    Calc(vars, "V001=" + repeat("1+", 300));
    EXPECT_EQ(vars.v(1), 59);
}

// --- EvaluateCondition -----------------------------------------------------------------------

TEST(Condition, GivenEachOperator_WhenEvaluated_ThenItCompares) {
    Variables vars;
    vars.setV(1, 5);
    EXPECT_NE(EvaluateCondition(vars, "V001=5 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001=4 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "V001!4 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001!5 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "V001<6 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001<5 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "V001>4 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001>5 x"), 0);
}

TEST(Condition, GivenAHoldingCondition_WhenEvaluated_ThenTheBlanksIndexPlus5) {
    Variables vars;
    vars.setV(1, 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001=0 label"), 11);
    EXPECT_EQ(EvaluateCondition(vars, "V001=0+0+0 label"), 15);
    EXPECT_EQ(EvaluateCondition(vars, "V1=0 label"), 9);
}

TEST(Condition, GivenNegativeValues_WhenCompared_ThenSigned) {
    Variables vars;
    vars.setV(1, -1);
    EXPECT_NE(EvaluateCondition(vars, "V001<0 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001>0 x"), 0);
    vars.setV(2, kMin);
    EXPECT_NE(EvaluateCondition(vars, "V002<1 x"), 0);
}

TEST(Condition, GivenE3Assigned255_WhenCompared_ThenItIsMinusOne) {
    Variables vars;
    Calc(vars, "E003=255");
    EXPECT_NE(EvaluateCondition(vars, "E003=-1 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "E003<0 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "E003=255 x"), 0);
}

TEST(Condition, GivenAnExpressionOnTheRight_WhenCompared_ThenItIsEvaluated) {
    Variables vars;
    vars.setV(1, 20);
    vars.setV(2, 3);
    EXPECT_NE(EvaluateCondition(vars, "V001=2+3*4 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "V001>V002*6 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001>V002*7 x"), 0);
}

TEST(Condition, GivenBlanksAroundTheOperator_WhenEvaluated_ThenTheWrittenLabelIsNeverReached) {
    Variables vars;
    vars.setV(1, 5);
    // The right side reads as 0, so the written comparison does not decide.
    EXPECT_EQ(EvaluateCondition(vars, "V001 = 5 x"), 0);
    // When it holds by chance, the label column is that of the text after the first blank.
    vars.setV(1, 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001 = 5 x"), 9);
}

TEST(Condition, GivenNoOperatorOrNoBlank_WhenEvaluated_ThenFalse) {
    Variables vars;
    EXPECT_EQ(EvaluateCondition(vars, "V001 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "V001=0"), 0);
    EXPECT_EQ(EvaluateCondition(vars, ""), 0);
}

TEST(Condition, GivenTabs_WhenEvaluated_ThenTheyCountAsBlanks) {
    Variables vars;
    EXPECT_EQ(EvaluateCondition(vars, "V001=0\tlabel"), 11);
    EXPECT_EQ(EvaluateCondition(vars, "V001\t=\t0 x"), 9);
}

TEST(Condition, GivenALeftSideOfAnyDigitCount_WhenEvaluated_ThenItIsRead) {
    Variables vars;
    vars.setV(5, 3);
    vars.setS(123, 4);
    EXPECT_EQ(EvaluateCondition(vars, "V5=3 x"), 9);
    EXPECT_EQ(EvaluateCondition(vars, "V0005=3 x"), 12);
    EXPECT_NE(EvaluateCondition(vars, "S123=4 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "v5=3 x"), 0);
}

TEST(Condition, GivenALeftSideOfEachArray_WhenEvaluated_ThenItIsRead) {
    Variables vars;
    vars.SetFlag(7);
    vars.setE(2, 200);
    vars.setS(9, 90);
    EXPECT_NE(EvaluateCondition(vars, "F007=1 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "F008=0 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "E002=-56 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "S009=90 x"), 0);
}

TEST(Condition, GivenAnotherLeftLetter_WhenEvaluated_ThenItReadsZero) {
    Variables vars;
    vars.values().fill(5);
    EXPECT_NE(EvaluateCondition(vars, "X005=0 x"), 0);
    EXPECT_EQ(EvaluateCondition(vars, "X005=5 x"), 0);
    EXPECT_NE(EvaluateCondition(vars, "5=0 x"), 0);
}

TEST(Condition, GivenABadRightSide_WhenEvaluated_ThenItComparesWithZero) {
    Variables vars;
    EXPECT_NE(EvaluateCondition(vars, "V001=(7) x"), 0);
}

TEST(Condition, GivenABlankAtByte119Or120_WhenEvaluated_ThenOnlyTheFirstIsFound) {
    Variables vars;
    // "V001=" then a right side of zeros up to the blank.
    const std::string at119 = "V001=00" + repeat("+0", 56) + " label";
    ASSERT_EQ(at119.find(' '), 119u);
    EXPECT_EQ(EvaluateCondition(vars, at119), 124);
    const std::string at120 = "V001=000" + repeat("+0", 56) + " label";
    ASSERT_EQ(at120.find(' '), 120u);
    EXPECT_EQ(EvaluateCondition(vars, at120), 0);
}

TEST(Condition, GivenOverLongText_WhenEvaluated_ThenFalseWithoutHarm) {
    Variables vars;
    EXPECT_EQ(EvaluateCondition(vars, "V001=0" + repeat("+0", 500)), 0);
    EXPECT_EQ(EvaluateCondition(vars, repeat("V", 1000)), 0);
}

}  // namespace
}  // namespace corvan
