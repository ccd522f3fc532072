// Gathering the plot's data, call by call.
#include "plot/plot_data.h"

#include "report/mips.h"

namespace cycalc {

void plot_data_init(PlotData& data) {
    envelope_init(data.envelope);
    data.runs = 0;
    data.peak_call = 0;
    data.peak_load = -1.0;
    data.peak_state = 0;
    data.state_count = 0;
    data.other = StateTotals{0, 0, 0.0, 0.0};
    data.has_other = false;
}

std::size_t plot_state_index(const PlotData& data, std::uint32_t state) {
    for (std::size_t i = 0; i < data.state_count; ++i) {
        if (data.states[i].state == state) return i;
    }
    return PLOT_STATES;
}

void plot_call(PlotData& data, std::uint32_t current_state, std::uint32_t next_state, std::uint32_t cycles) {
    const double load = exact_mips(cycles);
    const bool starts_run = current_state != next_state;
    if (starts_run) ++data.runs;
    envelope_add(data.envelope, next_state, load, starts_run || data.envelope.calls == 0);
    if (load > data.peak_load) {
        data.peak_load = load;
        data.peak_call = data.envelope.calls;
        data.peak_state = next_state;
    }
    std::size_t index = plot_state_index(data, next_state);
    if (index == PLOT_STATES && data.state_count < PLOT_STATES) {
        index = data.state_count++;
        data.states[index] = StateTotals{next_state, 0, 0.0, 0.0};
    }
    StateTotals& totals = index < PLOT_STATES ? data.states[index] : data.other;
    if (index == PLOT_STATES) data.has_other = true;
    ++totals.calls;
    totals.load_sum += load;
    if (load > totals.peak) totals.peak = load;
}

}  // namespace cycalc
