// The plot as one self-contained SVG document: no scripts, no external fonts or files.
#pragma once

#include <string>
#include <string_view>

#include "plot/plot_data.h"

namespace cycalc {

// Renders the whole document; `file_name` is the log's name for the title.
std::string render_svg(const PlotData& data, std::string_view file_name);

}  // namespace cycalc
