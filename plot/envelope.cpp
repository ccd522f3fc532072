// The column envelope of the plot.
#include "plot/envelope.h"

namespace cycalc {

namespace {

Column merged(const Column& a, const Column& b) {
    Column m = a;
    if (b.min_load < m.min_load) m.min_load = b.min_load;
    if (b.max_load > m.max_load) m.max_load = b.max_load;
    m.load_sum += b.load_sum;
    m.calls += b.calls;
    m.mixed = a.mixed || b.mixed || a.state != b.state;
    m.run_starts = a.run_starts || b.run_starts;
    return m;
}

}  // namespace

void envelope_init(Envelope& envelope) {
    envelope.calls = 0;
    envelope.shift = 0;
    envelope.used = 0;
}

void envelope_add(Envelope& envelope, std::uint32_t state, double load, bool starts_run) {
    std::uint64_t index = envelope.calls >> envelope.shift;
    if (index == PLOT_COLUMNS) {
        // Out of columns: pairs become one, and each column takes twice the calls from now on.
        for (std::size_t k = 0; k < PLOT_COLUMNS / 2; ++k) {
            envelope.columns[k] = merged(envelope.columns[2 * k], envelope.columns[2 * k + 1]);
        }
        envelope.used = PLOT_COLUMNS / 2;
        ++envelope.shift;
        index = envelope.calls >> envelope.shift;
    }
    ++envelope.calls;
    if (index == envelope.used) {
        envelope.columns[envelope.used++] = Column{load, load, load, 1, state, false, starts_run};
        return;
    }
    Column& column = envelope.columns[index];
    if (load < column.min_load) column.min_load = load;
    if (load > column.max_load) column.max_load = load;
    column.load_sum += load;
    ++column.calls;
    column.mixed = column.mixed || state != column.state;
    column.run_starts = column.run_starts || starts_run;
}

}  // namespace cycalc
