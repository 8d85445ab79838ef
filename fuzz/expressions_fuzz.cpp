// Fuzz target: any bytes as the argument of `calc` and of `if`, and as an expression, with
// variables that hold a spread of values (zero, small, negative, the 32-bit extremes) so that
// the arithmetic meets every overflow and division case.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "engine/expressions.h"

namespace {

corvan::Variables spreadVariables() {
    constexpr std::int32_t kValues[] = {0,
                                        1,
                                        -1,
                                        7,
                                        1000,
                                        std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()};
    corvan::Variables vars;
    for (int i = 0; i < corvan::Variables::kValueCount; ++i) {
        vars.setV(i, kValues[i % std::size(kValues)]);
        vars.setS(i, kValues[(i + 3) % std::size(kValues)]);
    }
    for (int i = 0; i < corvan::Variables::kPersistentCount; ++i) vars.setE(i, i - 128);
    for (int i = 0; i < corvan::Variables::kFlagCount; i += 3) vars.SetFlag(i);
    return vars;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const corvan::Variables kStart = spreadVariables();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    corvan::Variables vars = kStart;
    (void)corvan::EvaluateExpression(vars, text);
    // The argument starts at column 4 of the command line; the label follows a blank in it.
    const int column = corvan::EvaluateCondition(vars, text);
    if (column != 0 && (column < 5 || static_cast<std::size_t>(column - 4) > size)) abort();
    corvan::Calc(vars, text);
    return 0;
}
