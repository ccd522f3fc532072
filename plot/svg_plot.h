// The plot as one self-contained SVG document: no scripts, no external fonts or files.
#pragma once

#include <string>
#include <string_view>

#include "plot/plot_data.h"

namespace cycalc {

// Renders the whole document; `file_name` is the log's name for the title. With a baseline, both
// logs share the call axis (the longer one sets its length), the baseline is drawn grey behind the
// log, both peaks are marked, and the legend becomes the table of compare_states().
std::string render_svg(const PlotData& data, std::string_view file_name, const PlotData* baseline = nullptr,
                       std::string_view baseline_name = {});

}  // namespace cycalc
