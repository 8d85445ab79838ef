#pragma once

// The script's memory: 1024 flags kept as bits of a 256-byte array, the values V0-V999 and the
// system values S0-S999 (signed 32-bit), and the persistent values E0-E255 (signed 8-bit, kept
// in the seen record). Element numbers outside an array are never stored: writes to them are
// ignored and reads give 0.

#include <array>
#include <cstdint>

namespace corvan {

class Variables {
public:
    static constexpr int kFlagBytes = 256;
    static constexpr int kFlagCount = 1024;
    static constexpr int kValueCount = 1000;
    static constexpr int kPersistentCount = 256;
    static constexpr int kClearMarkValue = 777;  // V777 holds the cleared-game mark

    void SetFlag(std::int32_t n);
    void ClearFlag(std::int32_t n);
    bool TestFlag(std::int32_t n) const;

    std::int32_t v(std::int32_t n) const;
    std::int32_t s(std::int32_t n) const;
    std::int32_t e(std::int32_t n) const;  // sign-extended
    void setV(std::int32_t n, std::int32_t value);
    void setS(std::int32_t n, std::int32_t value);
    void setE(std::int32_t n, std::int32_t value);  // keeps the low 8 bits

    // The value a reference with this letter names: E sign-extended, F as 1 or 0, S, V; 0 for
    // any other letter. The letter is expected in capitals.
    std::int32_t read(std::uint8_t letter, std::int32_t n) const;

    // Flags, V and S to zero (the persistent values stay).
    void clearGameVariables();

    bool operator==(const Variables&) const = default;

    std::array<std::uint8_t, kFlagBytes>& flagBytes() { return flags_; }
    const std::array<std::uint8_t, kFlagBytes>& flagBytes() const { return flags_; }
    std::array<std::int32_t, kValueCount>& values() { return values_; }
    const std::array<std::int32_t, kValueCount>& values() const { return values_; }
    std::array<std::int32_t, kValueCount>& systemValues() { return systemValues_; }
    const std::array<std::int32_t, kValueCount>& systemValues() const { return systemValues_; }
    std::array<std::int8_t, kPersistentCount>& persistentValues() { return persistent_; }
    const std::array<std::int8_t, kPersistentCount>& persistentValues() const {
        return persistent_;
    }

private:
    std::array<std::uint8_t, kFlagBytes> flags_{};
    std::array<std::int32_t, kValueCount> values_{};
    std::array<std::int32_t, kValueCount> systemValues_{};
    std::array<std::int8_t, kPersistentCount> persistent_{};
};

}  // namespace corvan
