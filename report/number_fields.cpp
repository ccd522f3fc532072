// Number fields of the report lines, exact and independent of the locale.
#include "report/number_fields.h"

#include <charconv>

namespace cycalc {

std::size_t format_hex_field(std::uint32_t value, char* out) {
    static constexpr char DIGITS[] = "0123456789abcdef";
    char digits[8];
    std::size_t count = 0;
    do {
        digits[count++] = DIGITS[value & 0xfu];
        value >>= 4;
    } while (value != 0);
    std::size_t length = 0;
    for (std::size_t fill = count; fill < 4; ++fill) out[length++] = '0';
    while (count > 0) out[length++] = digits[--count];
    return length;
}

std::size_t format_decimal_field(std::uint32_t value, char* out) {
    char digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::size_t length = 0;
    for (std::size_t fill = count; fill < 5; ++fill) out[length++] = ' ';
    while (count > 0) out[length++] = digits[--count];
    return length;
}

std::size_t format_sci(double value, char* out) {
    // to_chars renders the exact binary value, rounds halfway cases to even and ignores the locale.
    const std::to_chars_result result = std::to_chars(out, out + 16, value, std::chars_format::scientific, 2);
    return static_cast<std::size_t>(result.ptr - out);
}

std::size_t format_sci_integer(std::uint64_t value, char* out) {
    // All the decimal digits first (integer to_chars divides by constants only), then the three
    // significant ones, rounded on the digits that follow: above half up, below down, exactly half
    // to the even digit.
    char digits[24];
    const auto count = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    unsigned exponent = static_cast<unsigned>(count) - 1;
    unsigned kept = 0;
    for (std::size_t i = 0; i < 3; ++i) kept = kept * 10 + (i < count ? static_cast<unsigned>(digits[i] - '0') : 0u);
    if (value == 0) exponent = 0;
    if (count > 3) {
        const char next = digits[3];
        bool up = next > '5';
        if (next == '5') {
            bool beyond = false;
            for (std::size_t i = 4; i < count; ++i) beyond = beyond || digits[i] != '0';
            up = beyond || (kept & 1) != 0;
        }
        if (up && ++kept == 1000) {
            kept = 100;
            ++exponent;
        }
    }
    out[0] = static_cast<char>('0' + kept / 100);
    out[1] = '.';
    out[2] = static_cast<char>('0' + kept / 10 % 10);
    out[3] = static_cast<char>('0' + kept % 10);
    out[4] = 'e';
    out[5] = '+';
    out[6] = static_cast<char>('0' + exponent / 10);
    out[7] = static_cast<char>('0' + exponent % 10);
    return 8;
}

}  // namespace cycalc
