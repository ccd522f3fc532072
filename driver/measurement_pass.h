// The measurement pass: records grouped into runs, one summary line per run, one detail line per
// call after the first.
#pragma once

#include <cstdint>

#include "log/log_reader.h"
#include "platform/text_out.h"

namespace cycalc {

// A call's load: its cycle count times the calls per second (8000 Hz / 20 samples per call).
inline constexpr float CALLS_PER_SECOND = 400.0f;

// Statistics of the run in progress, each kept in single precision.
struct RunStats {
    float sample_count;
    float mips_sum;  // replaced by the run's average when the run closes
    float mips_peak;
};

struct PassState {
    std::uint32_t current_state;
    std::uint32_t next_state;
    std::uint32_t cycles;
    RunStats stats;
};

enum class PassOutcome {
    log_at_end,  // the log ended with its first line: no value was read
    complete,    // every record was read (or the log failed, which reads as its end)
};

// Runs the pass over a reader positioned at the log's start. Summary lines go to `out`, detail
// lines to `detail` when it is not null. Closing the files is the caller's.
PassOutcome run_measurement_pass(LogReader& reader, PassState& state, TextOut& out, TextOut* detail);

}  // namespace cycalc
