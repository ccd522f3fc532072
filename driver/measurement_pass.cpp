// The measurement pass.
#include "driver/measurement_pass.h"

#include "report/report_lines.h"

namespace cycalc {

namespace {

// The exact product (below 2^41, so a double holds it) rounded once to single precision.
float mips_of(std::uint32_t cycles) {
    return static_cast<float>(static_cast<double>(cycles) * static_cast<double>(CALLS_PER_SECOND));
}

void close_run(PassState& state, TextOut& out) {
    RunStats& stats = state.stats;
    if (stats.sample_count != 0.0f) stats.mips_sum = stats.mips_sum / stats.sample_count;
    write_summary_line(out, state.current_state, stats.mips_sum, stats.mips_peak);
}

}  // namespace

PassOutcome run_measurement_pass(LogReader& reader, PassState& state, TextOut& out, TextOut* detail) {
    state = PassState{0, 0, 0, RunStats{0.0f, 0.0f, 0.0f}};
    if (skip_log_header(reader)) return PassOutcome::log_at_end;

    // The first record only names the first run's state; its call is counted nowhere.
    state.current_state = read_log_value(reader);
    read_log_value(reader);
    if (reader.end_of_input) return PassOutcome::complete;

    RunStats& stats = state.stats;
    while (!reader.log->eof) {
        state.next_state = read_log_value(reader);
        state.cycles = read_log_value(reader);
        if (reader.end_of_input) {
            // The log ended inside this record: it is dropped, and the run in progress closes.
            close_run(state, out);
            return PassOutcome::complete;
        }
        if (detail != nullptr) {
            // The state written is the one before this record is applied.
            write_detail_line(*detail, state.current_state, state.cycles,
                              static_cast<double>(state.cycles) * static_cast<double>(CALLS_PER_SECOND));
        }
        const float mips = mips_of(state.cycles);
        if (state.current_state == state.next_state) {
            if (mips > stats.mips_peak) stats.mips_peak = mips;
            stats.mips_sum = stats.mips_sum + mips;
            stats.sample_count = stats.sample_count + 1.0f;
        } else {
            close_run(state, out);
            stats = RunStats{1.0f, mips, mips};
        }
        state.current_state = state.next_state;
    }
    // The last line had no line end: its read returned the record's last value and reached the end.
    close_run(state, out);
    return PassOutcome::complete;
}

}  // namespace cycalc
