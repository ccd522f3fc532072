// The measurement pass: records grouped into runs, one summary line per run, one detail line per
// call after the first.
#pragma once

#include <cstdint>

#include "driver/record_walk.h"
#include "log/log_reader.h"
#include "platform/text_out.h"

namespace cycalc {

// A call's load: its cycle count times the calls per second (8000 Hz / 20 samples per call).
inline constexpr float CALLS_PER_SECOND = 400.0f;

// The exact load of a call: below 2^41, so a double holds it.
inline double exact_mips(std::uint32_t cycles) {
    return static_cast<double>(cycles) * static_cast<double>(CALLS_PER_SECOND);
}

// Statistics of the run in progress, each kept in single precision.
struct RunStats {
    float sample_count;
    float mips_sum;  // replaced by the run's average when the run closes
    float mips_peak;
};

struct PassState {
    std::uint32_t current_state;
    RunStats stats;
};

// Runs the pass over a reader positioned at the log's start. Summary lines go to `out`, detail
// lines to `detail` when it is not null. Closing the files is the caller's.
PassOutcome run_measurement_pass(LogReader& reader, PassState& state, TextOut& out, TextOut* detail);

}  // namespace cycalc
