// Comparing a log with its baseline, state by state.
#include "plot/comparison.h"

#include <cstdio>
#include <string>
#include <vector>

#include "report/number_fields.h"

namespace cycalc {

namespace {

std::string hex_label(std::uint32_t state) {
    char text[16];
    return std::string(text, format_hex_field(state, text));
}

const StateTotals* find_state(const PlotData& data, std::uint32_t state) {
    const std::size_t index = plot_state_index(data, state);
    return index < PLOT_STATES ? &data.states[index] : nullptr;
}

std::string sci_text(double value) {
    char text[16];
    return std::string(text, format_sci(value, text));
}

}  // namespace

std::vector<ComparisonRow> compare_states(const PlotData& log, const PlotData& baseline) {
    std::vector<ComparisonRow> rows;
    for (std::size_t i = 0; i < log.state_count; ++i) {
        rows.push_back({hex_label(log.states[i].state), &log.states[i], find_state(baseline, log.states[i].state)});
    }
    for (std::size_t i = 0; i < baseline.state_count; ++i) {
        if (find_state(log, baseline.states[i].state) == nullptr) {
            rows.push_back({hex_label(baseline.states[i].state), nullptr, &baseline.states[i]});
        }
    }
    if (log.has_other || baseline.has_other) {
        rows.push_back({"others", log.has_other ? &log.other : nullptr, baseline.has_other ? &baseline.other : nullptr});
    }
    return rows;
}

std::string percent_change(double log, double baseline) {
    if (baseline == 0) return log == 0 ? "+0.0%" : "n/a";
    char text[64];
    // The C locale is never changed here: the point is a full stop.
    std::snprintf(text, sizeof text, "%+.1f%%", (log - baseline) / baseline * 100.0);
    return text;
}

double mean_load(const StateTotals& totals) { return totals.load_sum / static_cast<double>(totals.calls); }

std::string comparison_text(const std::vector<ComparisonRow>& rows) {
    std::string text = "state\tcalls\tmean\tpeak\tbaseline_calls\tbaseline_mean\tbaseline_peak\tmean_change\tpeak_change\n";
    for (const ComparisonRow& row : rows) {
        text += row.label;
        for (const StateTotals* totals : {row.log, row.baseline}) {
            if (totals == nullptr) {
                text += "\t-\t-\t-";
            } else {
                text +=
                    "\t" + std::to_string(totals->calls) + "\t" + sci_text(mean_load(*totals)) + "\t" + sci_text(totals->peak);
            }
        }
        if (row.log != nullptr && row.baseline != nullptr) {
            text += "\t" + percent_change(mean_load(*row.log), mean_load(*row.baseline)) + "\t" +
                    percent_change(row.log->peak, row.baseline->peak);
        } else {
            text += "\t-\t-";
        }
        text += "\n";
    }
    return text;
}

}  // namespace cycalc
