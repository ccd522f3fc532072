// What the plot keeps of a log, in fixed memory: the column envelope of the calls' loads, the runs,
// the peak call, and per state (the first PLOT_STATES of them; the rest together) its calls, mean and
// peak.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plot/envelope.h"

namespace cycalc {

inline constexpr std::size_t PLOT_STATES = 16;

struct StateTotals {
    std::uint32_t state;
    std::uint64_t calls;
    double load_sum;
    double peak;
};

struct PlotData {
    Envelope envelope;
    std::uint64_t runs;       // runs started by a later record; the first run is the caller's to add
    std::uint64_t peak_call;  // the highest call's number (1 for the first plotted call)
    double peak_load;
    std::uint32_t peak_state;
    std::size_t state_count;  // entries used in `states`
    StateTotals states[PLOT_STATES];
    StateTotals other;  // the states past the first PLOT_STATES, together
    bool has_other;
};

void plot_data_init(PlotData& data);

// A call: the record's cycles, counted in the run of `next_state` (a new run when it differs from
// `current_state`), as the report counts it.
void plot_call(PlotData& data, std::uint32_t current_state, std::uint32_t next_state, std::uint32_t cycles);

// The index in `states` of a state, or PLOT_STATES for one counted among the others.
std::size_t plot_state_index(const PlotData& data, std::uint32_t state);

}  // namespace cycalc
