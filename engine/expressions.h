#pragma once

// The script's arithmetic: expressions in letter-and-digits notation evaluated strictly from
// left to right, the `calc` assignment and the `if` comparison. The game's own quirks are kept
// on purpose, because the scripts were written against them: a variable reference skips the
// three bytes after its letter whatever they are, there is no operator precedence, and `calc`
// reads its expression from byte 5 of the argument whatever the target looks like.

#include <cstdint>
#include <string_view>

#include "engine/variables.h"

namespace corvan {

// Sizes of the work buffers; longer arguments are cut to what fits.
constexpr int kExpressionBufferSize = 120;  // 118 bytes of text and two NULs
constexpr int kArgumentBufferSize = 128;    // 126 bytes of text and two NULs

// Evaluates the text up to its first blank, tab or carriage return. Any byte that is not a
// digit, a variable letter (E F S V, either case) or one of + - * / makes the result 0.
// Arithmetic wraps around in 32 bits; division truncates toward zero, by zero gives 0.
std::int32_t EvaluateExpression(const Variables& vars, std::string_view text);

// The `calc` command's argument: target letter, target number, one separator byte, then the
// expression from byte 5 on.
void Calc(Variables& vars, std::string_view text);

// The `if` command's argument (the command line from column 4): a variable, one of = < > !, an
// expression, one blank, a label. Returns the column of the label in the command line when the
// condition holds, else 0.
int EvaluateCondition(const Variables& vars, std::string_view text);

// Where the label of an `if` argument lies, whatever the variables hold: the column
// EvaluateCondition returns when the condition holds, or 0 when the argument has no comparison
// operator or no blank before its label, so that it never jumps.
int ConditionLabelColumn(std::string_view text);

}  // namespace corvan
