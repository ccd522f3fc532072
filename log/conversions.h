// The two conversions of a value text into an unsigned 32-bit value.
#pragma once

#include <cstdint>

namespace cycalc {

// Hexadecimal ("%lx"): leading white space, one sign, an optional 0x or 0X, hex digits. Accumulates
// in 64 bits, saturating past them; a minus sign negates; the value is the low 32 bits. A text that
// converts nothing gives 0. `text` ends at its NUL.
std::uint32_t convert_hexadecimal(const char* text);

// Decimal ("%ld.%*d"): the same with decimal digits and no prefix; whatever follows the integer part
// (a point and a fraction, say) is ignored.
std::uint32_t convert_decimal(const char* text);

}  // namespace cycalc
