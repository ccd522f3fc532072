// A log against a baseline, state by state: calls, mean and peak load of each, and how the mean and
// the peak changed. The plot's table and the plain-text table on standard output are made from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plot/plot_data.h"

namespace cycalc {

struct ComparisonRow {
    std::string label;            // the state in hex, or "others"
    const StateTotals* log;       // null when the log has no call of it
    const StateTotals* baseline;  // null when the baseline has no call of it
};

// One row per state found in either log: the log's states in the order they first occur, then the
// baseline's that the log lacks, then "others" (the states past the first PLOT_STATES of a log) when
// either log has such states.
std::vector<ComparisonRow> compare_states(const PlotData& log, const PlotData& baseline);

// A change from the baseline in percent, signed, with one decimal: (log - baseline) / baseline.
//   (110, 100) -> "+10.0%"   (75, 100) -> "-25.0%"   (100, 100) -> "+0.0%"   (5, 0) -> "n/a"
std::string percent_change(double log, double baseline);

// The mean load of the calls of `totals`.
double mean_load(const StateTotals& totals);

// The table as text for standard output: a header line naming the columns, then one line per row;
// columns separated by a tab, "-" where a log has no call of the state. Every line ends in LF.
//   state  calls  mean  peak  baseline_calls  baseline_mean  baseline_peak  mean_change  peak_change
std::string comparison_text(const std::vector<ComparisonRow>& rows);

}  // namespace cycalc
