#include "engine/expressions.h"

#include <array>
#include <limits>

#include "engine/ascii.h"

namespace corvan {

namespace {

enum class CopyUntil { FirstBlank, WholeLine };

// Copies the argument into a zeroed work buffer with the letters a-z in capitals. The last two
// bytes of the buffer are always left as NULs, so the parsers below may look a few bytes past
// the text without leaving the buffer.
template <std::size_t N>
void normalise(std::string_view text, CopyUntil until, std::array<std::uint8_t, N>& out) {
    out.fill(0);
    std::size_t n = 0;
    for (char ch : text) {
        auto c = static_cast<std::uint8_t>(ch);
        if (c == 0 || n >= N - 2) break;
        if (until == CopyUntil::FirstBlank && (c == ' ' || c == '\t' || c == '\r')) break;
        if (until == CopyUntil::WholeLine && c == '\t') c = ' ';
        out[n++] = asciiUpper(c);
    }
}

bool isVariableLetter(std::uint8_t c) {
    return c == 'E' || c == 'F' || c == 'S' || c == 'V';
}

std::int32_t apply(std::uint8_t op, std::int32_t left, std::int32_t right) {
    const auto l = static_cast<std::uint32_t>(left);
    const auto r = static_cast<std::uint32_t>(right);
    switch (op) {
        case '+': return static_cast<std::int32_t>(l + r);
        case '-': return static_cast<std::int32_t>(l - r);
        case '*': return static_cast<std::int32_t>(l * r);
        case '/':
            if (right == 0) return 0;
            // The one quotient that does not fit wraps back to the dividend.
            if (left == std::numeric_limits<std::int32_t>::min() && right == -1) return left;
            return left / right;
        default: return left;
    }
}

}  // namespace

std::int32_t EvaluateExpression(const Variables& vars, std::string_view text) {
    std::array<std::uint8_t, kExpressionBufferSize> buf;
    normalise(text, CopyUntil::FirstBlank, buf);
    const std::uint8_t* end = buf.data() + buf.size();

    std::int32_t accumulator = 0;
    std::uint8_t pending = '+';
    std::uint32_t number = 0;
    std::size_t i = 0;
    while (i < buf.size()) {
        const std::uint8_t c = buf[i];
        if (c >= '0' && c <= '9') {
            number = number * 10u + static_cast<std::uint32_t>(c - '0');
            ++i;
        } else if (isVariableLetter(c)) {
            const std::int32_t element = parseDecimal(buf.data() + i + 1, end);
            number = static_cast<std::uint32_t>(vars.read(c, element));
            // The reference always spans three bytes after its letter, whatever they hold; it
            // only stops early at the end of the text.
            ++i;
            for (int skipped = 0; skipped < 3 && buf[i] != 0; ++skipped) ++i;
        } else if (c == '+' || c == '-' || c == '*' || c == '/') {
            accumulator = apply(pending, accumulator, static_cast<std::int32_t>(number));
            pending = c;
            number = 0;
            ++i;
        } else if (c == 0) {
            break;
        } else {
            return 0;
        }
    }
    return apply(pending, accumulator, static_cast<std::int32_t>(number));
}

void Calc(Variables& vars, std::string_view text) {
    std::array<std::uint8_t, kArgumentBufferSize> buf;
    normalise(text, CopyUntil::FirstBlank, buf);
    const std::uint8_t letter = buf[0];
    const std::int32_t target = parseDecimal(buf.data() + 1, buf.data() + buf.size());
    const auto* expression = reinterpret_cast<const char*>(buf.data() + 5);
    const std::int32_t value = EvaluateExpression(
        vars, std::string_view(expression, boundedLength(buf.data() + 5, buf.size() - 5)));
    switch (letter) {
        case 'E': vars.setE(target, value); break;
        case 'F':
            if (value == 0) vars.ClearFlag(target);
            if (value == 1) vars.SetFlag(target);
            break;
        case 'S': vars.setS(target, value); break;
        case 'V': vars.setV(target, value); break;
        default: break;
    }
}

namespace {

constexpr std::size_t kConditionScanLimit = 120;

// The operator's and the first blank's index in a normalised `if` argument; false when either
// is missing from the scanned bytes.
bool findConditionParts(const std::array<std::uint8_t, kArgumentBufferSize>& buf, std::size_t& op,
                        std::size_t& blank) {
    for (op = 0; op < kConditionScanLimit; ++op) {
        const std::uint8_t c = buf[op];
        if (c == 0) return false;
        if (c == '=' || c == '<' || c == '>' || c == '!') break;
    }
    if (op == kConditionScanLimit) return false;
    for (blank = 0; blank < kConditionScanLimit; ++blank) {
        if (buf[blank] == 0) return false;
        if (buf[blank] == ' ') break;
    }
    return blank != kConditionScanLimit;
}

}  // namespace

int EvaluateCondition(const Variables& vars, std::string_view text) {
    std::array<std::uint8_t, kArgumentBufferSize> buf;
    normalise(text, CopyUntil::WholeLine, buf);
    std::size_t op = 0;
    std::size_t blank = 0;
    if (!findConditionParts(buf, op, blank)) return 0;

    const std::int32_t left =
        vars.read(buf[0], parseDecimal(buf.data() + 1, buf.data() + buf.size()));
    const auto* rightText = reinterpret_cast<const char*>(buf.data() + op + 1);
    const std::int32_t right = EvaluateExpression(
        vars, std::string_view(rightText, boundedLength(buf.data() + op + 1, buf.size() - op - 1)));

    bool holds = false;
    switch (buf[op]) {
        case '=': holds = left == right; break;
        case '!': holds = left != right; break;
        case '<': holds = left < right; break;
        case '>': holds = left > right; break;
    }
    return holds ? static_cast<int>(blank) + 5 : 0;
}

int ConditionLabelColumn(std::string_view text) {
    std::array<std::uint8_t, kArgumentBufferSize> buf;
    normalise(text, CopyUntil::WholeLine, buf);
    std::size_t op = 0;
    std::size_t blank = 0;
    return findConditionParts(buf, op, blank) ? static_cast<int>(blank) + 5 : 0;
}

}  // namespace corvan
