#include "engine/expressions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

namespace corvan {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

using Cases = std::initializer_list<std::pair<std::string_view, std::int32_t>>;

std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

void expectValues(const Variables& vars, Cases cases) {
    for (const auto& [text, value] : cases)
        EXPECT_EQ(EvaluateExpression(vars, text), value) << text;
}

// Each condition's result: 0 when it fails, else the index of the blank before the label + 5.
void expectConditions(const Variables& vars, Cases cases) {
    for (const auto& [text, value] : cases) EXPECT_EQ(EvaluateCondition(vars, text), value) << text;
}

void expectHolds(const Variables& vars, std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) EXPECT_NE(EvaluateCondition(vars, text), 0) << text;
}

void expectUnchanged(const Variables& vars, const Variables& before) {
    EXPECT_EQ(vars.flagBytes(), before.flagBytes());
    EXPECT_EQ(vars.values(), before.values());
    EXPECT_EQ(vars.systemValues(), before.systemValues());
    EXPECT_EQ(vars.persistentValues(), before.persistentValues());
}

TEST(Expression, GivenNumbersAndOperatorsOnly_WhenEvaluated_ThenStrictlyLeftToRightIn32Bits) {
    const Variables vars;
    // Decimal digits; empty text is 0.
    expectValues(vars, {{"0", 0}, {"42", 42}, {"007", 7}, {"", 0}});
    // No precedence; a leading sign applies to zero.
    expectValues(vars, {{"2+3*4", 20}, {"10-4-3", 3}, {"100/10/5", 2}, {"1+2*3-4/2", 2}});
    expectValues(vars, {{"-5", -5}, {"-5*2", -10}, {"+5", 5}});
    // Quotients truncate toward zero; dividing by zero gives 0.
    expectValues(vars, {{"-7/2", -3}, {"7/2", 3}, {"7/0", 0}, {"7/0+5", 5}, {"7/V009", 0}});
    // Overflow wraps.
    expectValues(vars, {{"2147483647+1", kMin}, {"0-2147483647-2", kMax}});
    expectValues(vars, {{"65536*65536", 0}, {"65536*32768", kMin}});
    // A blank, tab, carriage return or NUL ends the text.
    expectValues(vars, {{"2+3 *4", 5}, {"2+3\t*4", 5}, {"2+3\r*4", 5}, {" 7", 0}});
    expectValues(vars, {{"2+3 garbage(", 5}, {std::string_view("2+3\0*4", 6), 5}});
}

TEST(Expression, GivenVariablesInTheDivision_WhenEvaluated_ThenTruncatedTowardZeroAndMinStays) {
    Variables vars;
    vars.setV(1, 2);
    vars.setV(2, -2);
    expectValues(vars, {{"7/V002", -3}, {"-7/V002", 3}});
    vars.setV(1, kMin);
    vars.setV(2, -1);
    expectValues(vars, {{"V001/V002", kMin}});
    vars.setV(1, kMax);
    expectValues(vars, {{"V001*2", -2}});
}

TEST(Expression, GivenReferencesToEachArrayInAnyCase_WhenEvaluated_ThenTheirValuesAreUsed) {
    Variables vars;
    vars.setV(1, 10);
    vars.setS(777, 20);
    vars.setE(12, 30);
    vars.SetFlag(19);
    vars.setV(5, 4);
    vars.setS(6, 3);
    vars.setE(7, 2);
    vars.SetFlag(8);
    expectValues(vars, {{"V001", 10}, {"S777", 20}, {"E012", 30}, {"F019", 1}, {"F020", 0}});
    expectValues(vars, {{"V001+S777*F019-E012", 0}, {"v005*s006", 12}, {"e007+f008", 3}});
    vars.setE(3, 255);
    expectValues(vars, {{"E003", -1}, {"E003*5", -5}});
}

TEST(Expression, GivenAShortOrLongReference_WhenEvaluated_ThenThreeBytesAfterTheLetterAreSkipped) {
    Variables vars;
    vars.setV(12, 5);
    vars.setV(1, 7);
    // V12+3 swallows "12+" and the 3 continues: V12 * 10 + 3; V1+23 swallows "1+2".
    // A reference at the end of the text stops there.
    expectValues(vars, {{"V12+3", 53}, {"V1+23", 73}, {"V1", 7}, {"2*V12", 10}});
    // "V0012" names V12 (all digits count) but skips only "001"; the last 2 continues.
    vars.setV(12, 4);
    expectValues(vars, {{"V0012", 42}});
}

TEST(Expression, GivenAnUnknownByte_WhenEvaluated_ThenTheWholeExpressionIsZero) {
    Variables vars;
    vars.setV(1, 9);
    for (const char* text : {"5+X", "5+x", "(5)", "5=5", "5.5", "V001+5%", "5\x82\x4F"})
        EXPECT_EQ(EvaluateExpression(vars, text), 0) << text;
}

TEST(Expression, GivenOverLongText_WhenEvaluated_ThenCutTo118Bytes) {
    Variables vars;
    // 118 bytes of text fit: 59 times "1+"; the rest is never seen.
    EXPECT_EQ(EvaluateExpression(vars, repeat("1+", 300)), 59);
    EXPECT_EQ(EvaluateExpression(vars, repeat("9", 1000)),
              EvaluateExpression(vars, repeat("9", 118)));
}

TEST(Calc, GivenV005PlusOne_WhenCalculated_ThenV5Increments) {
    Variables vars;
    vars.setV(5, 41);
    Calc(vars, "V005=V005+1");
    EXPECT_EQ(vars.v(5), 42);
    Calc(vars, "V005=V005+1");
    EXPECT_EQ(vars.v(5), 43);
}

TEST(Calc, GivenAnySeparatorByte_WhenCalculated_ThenItIsIgnoredButABlankStoresZero) {
    for (const char* text : {"V005=17", "V005:17", "V005x17", "V005+17", "V005-17", "V005/17",
                             "V005\xB1\x31\x37", "V005 17"}) {
        Variables vars;
        vars.setV(5, 1);
        Calc(vars, text);
        EXPECT_EQ(vars.v(5), text[4] == ' ' ? 0 : 17) << text;
    }
}

TEST(Calc, GivenTargetsOfEachKind_WhenCalculated_ThenStoredFromByte5On) {
    Variables vars;
    Calc(vars, "V5=123");
    Calc(vars, "S12=345");
    Calc(vars, "S010=0-8");
    Calc(vars, "v011=6*7");
    Calc(vars, "E003=255");
    Calc(vars, "E004=300");
    Calc(vars, "E005=0-129");
    EXPECT_EQ(vars.v(5), 3);
    EXPECT_EQ(vars.s(12), 45);
    EXPECT_EQ(vars.s(10), -8);
    EXPECT_EQ(vars.v(11), 42);
    // E keeps the low 8 bits.
    EXPECT_EQ(vars.e(3), -1);
    EXPECT_EQ(vars.e(4), 44);
    EXPECT_EQ(vars.e(5), 127);
}

TEST(Calc, GivenAFlagTarget_WhenCalculated_ThenZeroClearsOneSetsOthersDoNothing) {
    Variables vars;
    for (const auto& [text, set] : {std::pair{"F007=1", true},
                                    {"F007=2", true},
                                    {"F007=-1", true},
                                    {"F007=0", false},
                                    {"F007=2", false},
                                    {"F007=3-2", true}}) {
        Calc(vars, text);
        EXPECT_EQ(vars.TestFlag(7), set) << text;
    }
    EXPECT_EQ(vars.flagBytes()[0], 0x80);
}

TEST(Calc, GivenAnUnknownLetterOrATargetOutsideItsArray_WhenCalculated_ThenNothingChanges) {
    Variables vars;
    const Variables before = vars;
    for (const char* text : {"X005=7", "A001=1", "1005=7", "=005=7"}) Calc(vars, text);
    // Byte 5 on is the expression, so each of these stores 5 (or 1) in element 10005 and so on.
    for (const char* text : {"V10005", "S10005", "E2565", "F10241"}) Calc(vars, text);
    expectUnchanged(vars, before);
}

TEST(Calc, GivenABadOrOverLongExpression_WhenCalculated_ThenZeroOrTheCutValueIsStored) {
    Variables vars;
    vars.setV(1, 5);
    Calc(vars, "V001=3+(4)");
    EXPECT_EQ(vars.v(1), 0);
    // The argument keeps 126 bytes; the expression from byte 5 is then cut to 118.
    Calc(vars, "V001=" + repeat("1+", 300));
    EXPECT_EQ(vars.v(1), 59);
}

TEST(Condition, GivenEachOperator_WhenEvaluated_ThenItComparesSigned) {
    Variables vars;
    vars.setV(1, 5);
    expectHolds(vars, {"V001=5 x", "V001!4 x", "V001<6 x", "V001>4 x"});
    expectConditions(vars, {{"V001=4 x", 0}, {"V001!5 x", 0}, {"V001<5 x", 0}, {"V001>5 x", 0}});
    vars.setV(1, -1);
    vars.setV(2, kMin);
    expectHolds(vars, {"V001<0 x", "V002<1 x"});
    expectConditions(vars, {{"V001>0 x", 0}});
}

TEST(Condition, GivenAHoldingCondition_WhenEvaluated_ThenTheBlanksIndexPlus5) {
    const Variables vars;
    expectConditions(vars, {{"V001=0 label", 11}, {"V001=0+0+0 label", 15}, {"V1=0 label", 9}});
    // Tabs count as blanks.
    expectConditions(vars, {{"V001=0\tlabel", 11}, {"V001\t=\t0 x", 9}});
    // No operator or no blank: false.
    expectConditions(vars, {{"V001 x", 0}, {"V001", 0}, {"V001=0", 0}, {"", 0}});
}

TEST(Condition, GivenE3Assigned255_WhenCompared_ThenItIsMinusOne) {
    Variables vars;
    Calc(vars, "E003=255");
    expectHolds(vars, {"E003=-1 x", "E003<0 x"});
    expectConditions(vars, {{"E003=255 x", 0}});
}

TEST(Condition, GivenAnExpressionOnTheRight_WhenCompared_ThenItIsEvaluatedAndABadOneIsZero) {
    Variables vars;
    vars.setV(1, 20);
    vars.setV(2, 3);
    expectHolds(vars, {"V001=2+3*4 x", "V001>V002*6 x", "V009=(7) x"});
    expectConditions(vars, {{"V001>V002*7 x", 0}});
}

TEST(Condition, GivenBlanksAroundTheOperator_WhenEvaluated_ThenTheWrittenLabelIsNeverReached) {
    Variables vars;
    vars.setV(1, 5);
    // The right side reads as 0, so the written comparison does not decide.
    expectConditions(vars, {{"V001 = 5 x", 0}});
    // When it holds by chance, the label column is that of the text after the first blank.
    vars.setV(1, 0);
    expectConditions(vars, {{"V001 = 5 x", 9}});
}

TEST(Condition, GivenALeftSideOfAnyDigitCountOrArray_WhenEvaluated_ThenItIsRead) {
    Variables vars;
    vars.setV(5, 3);
    vars.setS(123, 4);
    vars.SetFlag(7);
    vars.setE(2, 200);
    vars.setS(9, 90);
    expectConditions(vars, {{"V5=3 x", 9}, {"V0005=3 x", 12}});
    expectHolds(vars, {"S123=4 x", "v5=3 x", "F007=1 x", "F008=0 x", "E002=-56 x", "S009=90 x"});
}

TEST(Condition, GivenAnotherLeftLetter_WhenEvaluated_ThenItReadsZero) {
    Variables vars;
    vars.values().fill(5);
    expectHolds(vars, {"X005=0 x", "5=0 x"});
    expectConditions(vars, {{"X005=5 x", 0}});
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
