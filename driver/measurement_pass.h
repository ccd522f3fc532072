// The measurement pass: records grouped into runs, one summary line per run, one detail line per
// call after the first.
#pragma once

#include <cstdint>

#include "log/log_reader.h"
#include "log/record_walk.h"
#include "platform/text_out.h"

namespace cycalc {

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
