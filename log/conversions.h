// The two conversions of a value text into an unsigned 32-bit value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/portable.h"

namespace cycalc {

// Hexadecimal ("%lx"): leading white space, one sign, an optional 0x or 0X, hex digits. Accumulates
// in 64 bits, saturating past them; a minus sign negates; the value is the low 32 bits. A text that
// converts nothing gives 0. The text is `length` characters long (a NUL in it also ends it).
//   "1a2B\n" -> 0x1a2b        "  0x10" -> 0x10         "-0x10" -> 0xfffffff0
//   "0x" -> 0 (the 0 is a digit) "x1" -> 0 (nothing)   "123456789" -> 0x23456789 (low 32 bits)
//   "10000000000000000" -> 0xffffffff (saturated)      "-10000000000000000" -> 0
std::uint32_t convert_hexadecimal(const char* text, std::size_t length);

// Decimal ("%ld.%*d"): the same with decimal digits and no prefix; whatever follows the integer part
// (a point and a fraction, say) is ignored.
//   "42.75" -> 42     "+5" -> 5     "- 5" -> 0 (nothing)     "-1" -> 0xffffffff
//   "0x10" -> 0 (the 0, then x ends it)     "4294967296" -> 0 (low 32 bits)
std::uint32_t convert_decimal(const char* text, std::size_t length);

// The value of every byte as a hex digit, or 0x10 for a byte that is none.
inline constexpr auto HEX_DIGIT_VALUES = [] {
    std::array<std::uint8_t, 256> values{};
    for (unsigned c = 0; c < 256; ++c) {
        values[c] = c >= '0' && c <= '9'   ? static_cast<std::uint8_t>(c - '0')
                    : c >= 'a' && c <= 'f' ? static_cast<std::uint8_t>(c - 'a' + 10)
                    : c >= 'A' && c <= 'F' ? static_cast<std::uint8_t>(c - 'A' + 10)
                                           : std::uint8_t{0x10};
    }
    return values;
}();

// The common shapes, fast: exactly 1 to 8 hex digits, or 1 to 9 decimal digits, and nothing else.
// False, with `value` untouched, for any other text; the conversions above then give the value.
//   ("00C8", 4) -> 0xc8     ("ffffffff", 8) -> 0xffffffff     ("12 4", 4), ("", 0), ("123456789", 9) -> false
//   decimal: ("123456789", 9) -> 123456789     ("1.5", 3), ("1234567890", 10) -> false
CYCALC_ALWAYS_INLINE bool convert_plain_hexadecimal(const char* text, std::size_t length, std::uint32_t& value) {
    constexpr std::uint64_t ONES = 0x0101010101010101ULL;
    if (length - 1 > 7) return false;  // also for length 0
    // All eight bytes at once, without a branch per digit (lengths vary from line to line): the
    // first character in the lowest byte on every processor; the bytes past the text become '0'
    // so that they pass the test, and are shifted out at the end.
    std::uint64_t x = load_little_endian64(text);
    const std::uint64_t keep = ~0ULL >> (64 - 8 * length);
    x = (x & keep) | (0x30 * ONES & ~keep);
    // Every byte must be 0-9, A-F or a-f: below 0x80, then in one of the ranges, each found by the
    // top bit of a sum that cannot carry into the next byte.
    const std::uint64_t lower = x | 0x20 * ONES;
    const std::uint64_t digit = (x + 0x50 * ONES) & ~(x + 0x46 * ONES);
    const std::uint64_t letter = (lower + 0x1f * ONES) & ~(lower + 0x19 * ONES);
    if ((((digit | letter) & ~x) & 0x80 * ONES) != 0x80 * ONES) return false;
    // Nibbles, first digit in the lowest byte; then packed pairwise into one 32-bit number.
    std::uint64_t nibbles = (x & 0x0f * ONES) + 9 * ((x >> 6) & ONES);
    nibbles = byte_swap64(nibbles);
    nibbles = (nibbles | (nibbles >> 4)) & 0x00ff00ff00ff00ffULL;
    nibbles = (nibbles | (nibbles >> 8)) & 0x0000ffff0000ffffULL;
    nibbles = (nibbles | (nibbles >> 16)) & 0xffffffffULL;
    value = static_cast<std::uint32_t>(nibbles >> (4 * (8 - length)));
    return true;
}

// The commonest value line of all, four hex digits after 0x: the same value as
// convert_plain_hexadecimal(text, 4, value), without the loop. ("00C8") -> 0xc8, ("00G8") -> false.
CYCALC_ALWAYS_INLINE bool convert_four_hex_digits(const char* text, std::uint32_t& value) {
    const unsigned d0 = HEX_DIGIT_VALUES[static_cast<unsigned char>(text[0])];
    const unsigned d1 = HEX_DIGIT_VALUES[static_cast<unsigned char>(text[1])];
    const unsigned d2 = HEX_DIGIT_VALUES[static_cast<unsigned char>(text[2])];
    const unsigned d3 = HEX_DIGIT_VALUES[static_cast<unsigned char>(text[3])];
    if ((d0 | d1 | d2 | d3) > 0xfu) return false;
    value = d0 << 12 | d1 << 8 | d2 << 4 | d3;
    return true;
}

CYCALC_ALWAYS_INLINE bool convert_plain_decimal(const char* text, std::size_t length, std::uint32_t& value) {
    if (length - 1 > 8) return false;  // also for length 0
    std::uint32_t result = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
        if (digit > 9) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

}  // namespace cycalc
