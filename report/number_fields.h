// Renderings of the report's three kinds of field: "%04lx", "%5lu" and "%1.2e".
#pragma once

#include <cstddef>
#include <cstdint>

namespace cycalc {

// Each writes its field at `out` (room for 16 characters) and returns the count of characters.

// Lower-case hexadecimal, at least 4 digits, zero-filled.
std::size_t format_hex_field(std::uint32_t value, char* out);

// Unsigned decimal, at least 5 characters, blank-filled on the left.
std::size_t format_decimal_field(std::uint32_t value, char* out);

// Three significant digits in scientific notation, d.dde+XX, for a non-negative finite double:
// rounded once on its exact binary value, halfway cases to the even digit, a full stop as point.
std::size_t format_sci(double value, char* out);

// The same field for an integer below 10^19 (a cycle count, or a cycle count times 400), rendered
// with integer arithmetic alone: the digits are exact, so the rounding is too.
std::size_t format_sci_integer(std::uint64_t value, char* out);

}  // namespace cycalc
