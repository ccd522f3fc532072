// A call's load in cycles per second ("MIPs" in the report): its cycle count times the calls per
// second of the routine under test.
#pragma once

#include <cstdint>

namespace cycalc {

// 8000 Hz sample rate / 20 samples per call.
inline constexpr float CALLS_PER_SECOND = 400.0f;

// The exact load of a call: at most 4294967295 * 400 = 1717986918000, below 2^41, so a double holds
// it exactly. 200 cycles -> 80000.0; 16777217 cycles -> 6710886800.0 (in float: 6710886912.0).
inline double exact_mips(std::uint32_t cycles) { return static_cast<double>(cycles) * static_cast<double>(CALLS_PER_SECOND); }

}  // namespace cycalc
