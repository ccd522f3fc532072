// The plot's picture of a log of any size in fixed memory: at most PLOT_COLUMNS columns, each with
// the minimum, maximum and mean load of its calls. Columns start at one call each; when they run out,
// neighbours merge in pairs and every column takes twice as many calls, so no call count is needed
// in advance and a single spike always survives as some column's maximum.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cycalc {

inline constexpr std::size_t PLOT_COLUMNS = 1600;

struct Column {
    double min_load;
    double max_load;
    double load_sum;
    std::uint64_t calls;
    std::uint32_t state;  // the state of the column's first call
    bool mixed;           // calls of more than one state
    bool run_starts;      // a run starts at one of its calls
};

struct Envelope {
    std::uint64_t calls;  // calls added so far
    unsigned shift;       // each column holds 2^shift calls (the last one fewer)
    std::size_t used;     // columns in use
    Column columns[PLOT_COLUMNS];
};

void envelope_init(Envelope& envelope);

// Adds the next call of the log.
void envelope_add(Envelope& envelope, std::uint32_t state, double load, bool starts_run);

}  // namespace cycalc
