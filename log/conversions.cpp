// Value conversions: hand-written, independent of the locale.
#include "log/conversions.h"

#include <cstdint>
#include <cstring>

namespace cycalc {

namespace {

// White space of the conversions: tab, LF, vertical tab, form feed, CR and blank.
bool is_space(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0d); }

unsigned digit_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10u;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10u;
    return 99;
}

template <unsigned Base>
std::uint32_t convert(const char* text, std::size_t length) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const auto* const end = p + length;
    while (p < end && is_space(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    bool converted = false;
    if (Base == 16 && end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        // The 0 of the prefix is a digit of its own: "0x" alone converts to 0.
        converted = true;
        p += 2;
    }
    std::uint64_t magnitude = 0;
    for (; p < end; ++p) {
        const unsigned digit = digit_value(*p);
        if (digit >= Base) break;
        converted = true;
        if (magnitude > (UINT64_MAX - digit) / Base) {
            // Past 64 bits the result saturates to the largest or smallest signed 64-bit value,
            // whose low 32 bits are all ones or all zeros.
            return negative ? 0u : 0xffffffffu;
        }
        magnitude = magnitude * Base + digit;
    }
    if (!converted) return 0;
    if (negative) magnitude = 0 - magnitude;
    return static_cast<std::uint32_t>(magnitude);
}

}  // namespace

std::uint32_t convert_hexadecimal(const char* text, std::size_t length) { return convert<16>(text, length); }

std::uint32_t convert_decimal(const char* text, std::size_t length) { return convert<10>(text, length); }

}  // namespace cycalc
