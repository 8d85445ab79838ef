#include "engine/variables.h"

namespace corvan {

namespace {
bool inRange(std::int32_t n, int count) {
    return n >= 0 && n < count;
}
}  // namespace

void Variables::SetFlag(std::int32_t n) {
    if (inRange(n, kFlagCount)) flags_[n / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
}

void Variables::ClearFlag(std::int32_t n) {
    if (inRange(n, kFlagCount)) flags_[n / 8] &= static_cast<std::uint8_t>(~(1u << (n % 8)));
}

bool Variables::TestFlag(std::int32_t n) const {
    return inRange(n, kFlagCount) && (flags_[n / 8] >> (n % 8) & 1u) != 0;
}

std::int32_t Variables::v(std::int32_t n) const {
    return inRange(n, kValueCount) ? values_[n] : 0;
}
std::int32_t Variables::s(std::int32_t n) const {
    return inRange(n, kValueCount) ? systemValues_[n] : 0;
}
std::int32_t Variables::e(std::int32_t n) const {
    return inRange(n, kPersistentCount) ? persistent_[n] : 0;
}

void Variables::setV(std::int32_t n, std::int32_t value) {
    if (inRange(n, kValueCount)) values_[n] = value;
}
void Variables::setS(std::int32_t n, std::int32_t value) {
    if (inRange(n, kValueCount)) systemValues_[n] = value;
}
void Variables::setE(std::int32_t n, std::int32_t value) {
    if (inRange(n, kPersistentCount)) {
        persistent_[n] = static_cast<std::int8_t>(static_cast<std::uint8_t>(value & 0xFF));
    }
}

std::int32_t Variables::read(std::uint8_t letter, std::int32_t n) const {
    switch (letter) {
        case 'E': return e(n);
        case 'F': return TestFlag(n) ? 1 : 0;
        case 'S': return s(n);
        case 'V': return v(n);
        default: return 0;
    }
}

void Variables::clearGameVariables() {
    flags_.fill(0);
    values_.fill(0);
    systemValues_.fill(0);
}

}  // namespace corvan
