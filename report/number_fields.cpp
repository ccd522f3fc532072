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

}  // namespace cycalc
