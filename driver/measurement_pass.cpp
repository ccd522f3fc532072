// The measurement pass.
#include "driver/measurement_pass.h"

#include "report/mips.h"
#include "report/report_lines.h"

namespace cycalc {

namespace {

// What the pass does with each record: the detail line, then the statistics of the runs.
struct MeasurementVisitor {
    RunStats& stats;
    TextOut& out;
    TextOut* detail;
    DetailLineStart start;  // of the detail lines of the run in progress

    void close_run(std::uint32_t state) {
        if (stats.sample_count != 0.0f) stats.mips_sum = stats.mips_sum / stats.sample_count;
        write_summary_line(out, state, stats.mips_sum, stats.mips_peak);
    }

    // Records in turn, state ID and cycle count alternating in `values`; returns the state of the run
    // in progress after them. The statistics are held in locals meanwhile.
    std::uint32_t records(std::uint32_t current_state, const std::uint32_t* values, std::size_t count) {
        RunStats run = stats;
        for (std::size_t i = 0; i < count; i += 2) {
            const std::uint32_t next_state = values[i];
            const std::uint32_t cycles = values[i + 1];
            // The state written is the one before this record is applied.
            if (detail != nullptr) {
                if (start.state != current_state) detail_line_start(start, current_state);
                write_detail_line(*detail, start, cycles, exact_mips(cycles));
            }
            // The exact product rounded once to single precision; every later step rounds once too.
            const auto mips = static_cast<float>(exact_mips(cycles));
            if (current_state == next_state) {
                if (mips > run.mips_peak) run.mips_peak = mips;
                run.mips_sum = run.mips_sum + mips;
                run.sample_count = run.sample_count + 1.0f;
            } else {
                stats = run;
                close_run(current_state);
                run = RunStats{1.0f, mips, mips};
            }
            current_state = next_state;
        }
        stats = run;
        return current_state;
    }

    void record(std::uint32_t current_state, std::uint32_t next_state, std::uint32_t cycles) {
        const std::uint32_t values[] = {next_state, cycles};
        records(current_state, values, 2);
    }

    void last_run_ends(std::uint32_t state) { close_run(state); }
};

}  // namespace

PassOutcome run_measurement_pass(LogReader& reader, PassState& state, TextOut& out, TextOut* detail) {
    state = PassState{0, RunStats{0.0f, 0.0f, 0.0f}};
    MeasurementVisitor visitor{state.stats, out, detail, {}};
    detail_line_start(visitor.start, 0);
    return walk_log_records(reader, state.current_state, visitor);
}

}  // namespace cycalc
