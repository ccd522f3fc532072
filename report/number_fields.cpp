// Number fields of the report lines, exact and independent of the locale.
#include "report/number_fields.h"

#include <array>
#include <bit>
#include <charconv>
#include <iterator>

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

namespace {

// "000001002...999": the three decimal digits of every number below 1000.
constexpr auto THREE_DIGITS = [] {
    std::array<char, 3000> digits{};
    for (std::size_t n = 0; n < 1000; ++n) {
        digits[3 * n] = static_cast<char>('0' + n / 100);
        digits[3 * n + 1] = static_cast<char>('0' + n / 10 % 10);
        digits[3 * n + 2] = static_cast<char>('0' + n % 10);
    }
    return digits;
}();

// value / 10^k with a constant divisor in every case, which compilers turn into a multiplication.
std::uint64_t divide_by_power_of_ten(std::uint64_t value, unsigned k) {
    switch (k) {
        case 1:
            return value / 10ULL;
        case 2:
            return value / 100ULL;
        case 3:
            return value / 1000ULL;
        case 4:
            return value / 10000ULL;
        case 5:
            return value / 100000ULL;
        case 6:
            return value / 1000000ULL;
        case 7:
            return value / 10000000ULL;
        case 8:
            return value / 100000000ULL;
        case 9:
            return value / 1000000000ULL;
        case 10:
            return value / 10000000000ULL;
        case 11:
            return value / 100000000000ULL;
        case 12:
            return value / 1000000000000ULL;
        case 13:
            return value / 10000000000000ULL;
        case 14:
            return value / 100000000000000ULL;
        case 15:
            return value / 1000000000000000ULL;
        case 16:
            return value / 10000000000000000ULL;
        default:
            return value / 100000000000000000ULL;
    }
}

}  // namespace

std::size_t format_sci_integer(std::uint64_t value, char* out) {
    static constexpr std::uint64_t POWERS[] = {
        1ULL,
        10ULL,
        100ULL,
        1000ULL,
        10000ULL,
        100000ULL,
        1000000ULL,
        10000000ULL,
        100000000ULL,
        1000000000ULL,
        10000000000ULL,
        100000000000ULL,
        1000000000000ULL,
        10000000000000ULL,
        100000000000000ULL,
        1000000000000000ULL,
        10000000000000000ULL,
        100000000000000000ULL,
        1000000000000000000ULL,
        10000000000000000000ULL,
    };
    // The decimal exponent: log10(2) * (bits - 1) rounded down is it or one less.
    unsigned exponent = 0;
    if (value != 0) {
        exponent = (static_cast<unsigned>(std::bit_width(value)) - 1) * 1233 >> 12;
        if (exponent + 1 < std::size(POWERS) && value >= POWERS[exponent + 1]) ++exponent;
    }
    std::uint64_t kept;  // the three significant digits, 100 to 999 (0 for the value 0)
    if (exponent <= 2) {
        kept = value * POWERS[2 - exponent];
    } else {
        // Cut to three digits; the rest decides, halfway cases going to the even digit.
        const std::uint64_t unit = POWERS[exponent - 2];
        kept = divide_by_power_of_ten(value, exponent - 2);
        const std::uint64_t rest = value - kept * unit;
        const std::uint64_t half = unit / 2;
        if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
        if (kept == 1000) {
            kept = 100;
            ++exponent;
        }
    }
    // Three digits and the exponent's two from tables: no division left per line.
    const char* const digits = THREE_DIGITS.data() + 3 * kept;
    out[0] = digits[0];
    out[1] = '.';
    out[2] = digits[1];
    out[3] = digits[2];
    out[4] = 'e';
    out[5] = '+';
    out[6] = THREE_DIGITS[3 * exponent + 1];
    out[7] = THREE_DIGITS[3 * exponent + 2];
    return 8;
}

}  // namespace cycalc
