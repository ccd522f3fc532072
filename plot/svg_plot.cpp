// Drawing the plot: axes with a scale in scientific notation and grid lines, each column's envelope
// in its state's colour, the mean line, run boundaries, the peak, the legend and the title.
#include "plot/svg_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

#include "plot/comparison.h"
#include "report/number_fields.h"

namespace cycalc {

namespace {

constexpr double LEFT = 110;
constexpr double TOP = 70;
constexpr double WIDTH = static_cast<double>(PLOT_COLUMNS);
constexpr double HEIGHT = 480;
constexpr double LEGEND_LEFT = LEFT + WIDTH + 40;
constexpr double TOTAL_WIDTH = LEGEND_LEFT + 430;
constexpr double COMPARISON_WIDTH = LEGEND_LEFT + 830;  // the comparison table is wider than the legend
constexpr double TOTAL_HEIGHT = TOP + HEIGHT + 80;

// Okabe and Ito's palette, told apart with every common kind of colour blindness.
constexpr const char* PALETTE[] = {"#0072B2", "#E69F00", "#009E73", "#D55E00", "#CC79A7", "#56B4E9", "#F0E442", "#000000"};
constexpr const char* OTHER_COLOUR = "#999999";
constexpr const char* BASELINE_COLOUR = "#8c8c8c";
constexpr const char* BETTER_COLOUR = "#007A55";  // less load than the baseline
constexpr const char* WORSE_COLOUR = "#C00000";   // more load than the baseline

const char* colour_of(const PlotData& data, std::uint32_t state) {
    const std::size_t index = plot_state_index(data, state);
    return index < PLOT_STATES ? PALETTE[index % std::size(PALETTE)] : OTHER_COLOUR;
}

std::string number(double value, int decimals = 1) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return std::string(text, end);
}

// A scale label: two significant digits, as in 2.4e+07.
std::string scale_label(double value) {
    if (value == 0) return "0";
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 1).ptr;
    return std::string(text, end);
}

std::string sci(double value) {
    char text[16];
    return std::string(text, format_sci(value, text));
}

std::string hex_state(std::uint32_t state) {
    char text[16];
    return std::string(text, format_hex_field(state, text));
}

// Text for XML: the five special characters escaped, control characters and bytes that are not
// UTF-8 shown as '?', so that any file name gives a well-formed document.
std::string xml_text(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&apos;";
        else if (c < 0x20 || c == 0x7f)
            out += '?';
        else if (c < 0x80)
            out += static_cast<char>(c);
        else {
            // A UTF-8 sequence is kept whole when it is one.
            const std::size_t length = c >= 0xf0 && c < 0xf5 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 && c < 0xe0 ? 2 : 0;
            bool valid = length > 0 && i + length <= text.size();
            for (std::size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
            if (valid) {
                out.append(text.substr(i, length));
                i += length - 1;
            } else {
                out += '?';
            }
        }
    }
    return out;
}

// A round step (1, 2 or 5 times a power of ten) that cuts `range` into at most `most` parts.
double nice_step(double range, int most) {
    const double rough = range / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10 * power;
}

void add_text(std::string& svg, double x, double y, const std::string& text, const char* extra = "") {
    svg += "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\"" + extra + ">" + text + "</text>\n";
}

// The comparison table in place of the legend: per state the log's calls, mean and peak, the
// baseline's, and the change of the mean and of the peak, green where the load went down and red
// where it went up.
void add_comparison_table(std::string& svg, const PlotData& data, const PlotData& baseline) {
    svg += "<g class=\"comparison\">\n";
    const double columns_x[] = {LEGEND_LEFT + 22,  LEGEND_LEFT + 140, LEGEND_LEFT + 222, LEGEND_LEFT + 304, LEGEND_LEFT + 400,
                                LEGEND_LEFT + 482, LEGEND_LEFT + 564, LEGEND_LEFT + 680, LEGEND_LEFT + 790};
    add_text(svg, columns_x[3], TOP - 14, "log", " font-weight=\"bold\" text-anchor=\"end\"");
    add_text(svg, columns_x[6], TOP - 14, "baseline", " font-weight=\"bold\" text-anchor=\"end\" fill=\"#555555\"");
    add_text(svg, columns_x[8], TOP - 14, "change", " font-weight=\"bold\" text-anchor=\"end\"");
    const std::string header[] = {"state", "calls", "mean", "peak", "calls", "mean", "peak", "mean", "peak"};
    for (std::size_t k = 0; k < std::size(header); ++k) {
        add_text(svg, columns_x[k], TOP + 4, header[k],
                 k == 0 ? " font-weight=\"bold\"" : " font-weight=\"bold\" text-anchor=\"end\"");
    }
    double y = TOP + 26;
    auto change_cell = [&](double x, double log, double base) {
        const std::string text = percent_change(log, base);
        const char* colour = log < base ? BETTER_COLOUR : log > base ? WORSE_COLOUR : "#333333";
        add_text(svg, x, y, text, (std::string(" class=\"change\" text-anchor=\"end\" fill=\"") + colour + "\"").c_str());
    };
    for (const ComparisonRow& row : compare_states(data, baseline)) {
        const std::size_t index = row.label == "others" ? PLOT_STATES : plot_state_index(data, row.log ? row.log->state : 0);
        const char* colour = row.log == nullptr    ? "#ffffff"
                             : index < PLOT_STATES ? PALETTE[index % std::size(PALETTE)]
                                                   : OTHER_COLOUR;
        svg += "<g class=\"comparison-row\"><rect x=\"" + number(LEGEND_LEFT) + "\" y=\"" + number(y - 11) +
               "\" width=\"14\" height=\"14\" fill=\"" + colour + "\" stroke=\"#999999\" stroke-width=\"0.5\"/>";
        add_text(svg, columns_x[0], y, row.label);
        std::size_t k = 1;
        for (const StateTotals* totals : {row.log, row.baseline}) {
            const char* fill = totals == row.log ? "" : " fill=\"#555555\"";
            const std::string cells[] = {totals ? std::to_string(totals->calls) : "-", totals ? sci(mean_load(*totals)) : "-",
                                         totals ? sci(totals->peak) : "-"};
            for (const std::string& cell : cells) {
                add_text(svg, columns_x[k++], y, cell, (std::string(" text-anchor=\"end\"") + fill).c_str());
            }
        }
        if (row.log != nullptr && row.baseline != nullptr) {
            change_cell(columns_x[7], mean_load(*row.log), mean_load(*row.baseline));
            change_cell(columns_x[8], row.log->peak, row.baseline->peak);
        } else {
            add_text(svg, columns_x[7], y, "-", " class=\"change\" text-anchor=\"end\"");
            add_text(svg, columns_x[8], y, "-", " class=\"change\" text-anchor=\"end\"");
        }
        svg += "</g>\n";
        y += 22;
    }
    add_text(svg, LEGEND_LEFT, y + 10, "change: (log \xe2\x88\x92 baseline) / baseline; green is less load, red more",
             " fill=\"#555555\"");
    svg += "</g>\n";
}

}  // namespace

std::string render_svg(const PlotData& data, std::string_view file_name, const PlotData* baseline,
                       std::string_view baseline_name) {
    const Envelope& envelope = data.envelope;
    const std::uint64_t calls = envelope.calls;
    const double total_width = baseline != nullptr ? COMPARISON_WIDTH : TOTAL_WIDTH;
    std::string svg;
    svg.reserve(std::size_t{256} * 1024);
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(total_width, 0) + "\" height=\"" +
           number(TOTAL_HEIGHT, 0) + "\" viewBox=\"0 0 " + number(total_width, 0) + " " + number(TOTAL_HEIGHT, 0) +
           "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    auto counts = [](const PlotData& d) {
        return std::to_string(d.envelope.calls) + " calls, " + std::to_string(d.runs) + (d.runs == 1 ? " run" : " runs");
    };
    std::string title = xml_text(file_name) + ": " + counts(data);
    if (baseline != nullptr) title += "; baseline " + xml_text(baseline_name) + ": " + counts(*baseline);
    svg += "<title>" + title + "</title>\n";
    add_text(svg, LEFT, 32, title, " class=\"title\" font-size=\"18\" font-weight=\"bold\"");
    add_text(svg, LEFT, 52,
             baseline != nullptr ? "load per call in cycles per second (cycles \xc3\x97 400): the log in its states' colours, "
                                   "the baseline grey behind it"
                                 : "load per call in cycles per second (cycles \xc3\x97 400), over the calls of the log",
             " fill=\"#555555\"");

    // Scales: loads from 0 to a round value above the peak, calls from 1 to the last.
    const double highest = baseline != nullptr ? std::max(data.peak_load, baseline->peak_load) : data.peak_load;
    const double peak = highest > 0 ? highest : 1.0;
    const double load_step = nice_step(peak, 6);
    const double load_top = std::ceil(peak / load_step) * load_step;
    auto y_of = [&](double load) { return TOP + HEIGHT - load / load_top * HEIGHT; };
    const double columns = envelope.used > 0 ? static_cast<double>(envelope.used) : 1.0;
    const double column_width = WIDTH / columns;
    auto x_of_column = [&](double column) { return LEFT + column * column_width; };
    // With a baseline both logs share one call axis, as long as the longer of them: a column of
    // 2^shift calls gets the width of its calls.
    const std::uint64_t axis_calls = baseline != nullptr ? std::max(calls, baseline->envelope.calls) : calls;
    auto x_of_call_column = [&](const Envelope& e, double column) {
        if (baseline == nullptr) return x_of_column(column);
        return LEFT + column * static_cast<double>(std::uint64_t{1} << e.shift) / static_cast<double>(axis_calls) * WIDTH;
    };
    auto width_of_column = [&](const Envelope& e) {
        if (baseline == nullptr) return column_width;
        return static_cast<double>(std::uint64_t{1} << e.shift) / static_cast<double>(axis_calls) * WIDTH;
    };

    const auto load_ticks = static_cast<int>(std::lround(load_top / load_step));
    svg += "<g class=\"grid\" stroke=\"#dddddd\" stroke-width=\"1\">\n";
    for (int tick = 0; tick <= load_ticks; ++tick) {
        const double load = tick * load_step;
        svg += "<line x1=\"" + number(LEFT) + "\" x2=\"" + number(LEFT + WIDTH) + "\" y1=\"" + number(y_of(load)) + "\" y2=\"" +
               number(y_of(load)) + "\"/>\n";
    }
    svg += "</g>\n<g class=\"y-scale\" text-anchor=\"end\" fill=\"#333333\">\n";
    for (int tick = 0; tick <= load_ticks; ++tick) {
        add_text(svg, LEFT - 8, y_of(tick * load_step) + 4, scale_label(tick * load_step));
    }
    svg += "</g>\n";
    const auto calls_per_column = static_cast<double>(std::uint64_t{1} << envelope.shift);
    svg += "<g class=\"x-scale\" text-anchor=\"middle\" fill=\"#333333\">\n";
    if (axis_calls > 0) {
        const double call_step = nice_step(static_cast<double>(axis_calls), 10);
        const auto call_ticks = static_cast<int>(std::floor(static_cast<double>(axis_calls) / call_step));
        for (int tick = 1; tick <= call_ticks; ++tick) {
            const double call = tick * call_step;
            const double x = x_of_call_column(envelope, (call - 0.5) / calls_per_column);
            svg += "<line x1=\"" + number(x) + "\" x2=\"" + number(x) + "\" y1=\"" + number(TOP + HEIGHT) + "\" y2=\"" +
                   number(TOP + HEIGHT + 5) + "\" stroke=\"#333333\"/>\n";
            add_text(svg, x, TOP + HEIGHT + 20, std::to_string(static_cast<std::uint64_t>(call)));
        }
    }
    add_text(svg, LEFT + WIDTH / 2, TOP + HEIGHT + 45, "call number in the log");
    svg += "</g>\n";
    svg += "<rect x=\"" + number(LEFT) + "\" y=\"" + number(TOP) + "\" width=\"" + number(WIDTH) + "\" height=\"" +
           number(HEIGHT) + "\" fill=\"none\" stroke=\"#333333\"/>\n";

    if (baseline != nullptr && baseline->envelope.calls > 0) {
        // The baseline first, grey, so that the log is drawn over it: a light area up to each
        // column's most, its least-to-most band, and a dark line along the top, which shows through
        // the log's light fill wherever the log is higher.
        const Envelope& base = baseline->envelope;
        svg += "<g class=\"baseline\" shape-rendering=\"crispEdges\">\n";
        const double bar_width = std::max(width_of_column(base), 1.0);
        for (std::size_t c = 0; c < base.used; ++c) {
            const Column& column = base.columns[c];
            const std::string x = number(x_of_call_column(base, static_cast<double>(c)), 2);
            const double top = y_of(column.max_load);
            const double height = std::max(2.0, y_of(column.min_load) - top);
            svg += "<rect x=\"" + x + "\" y=\"" + number(top, 2) + "\" width=\"" + number(bar_width, 2) + "\" height=\"" +
                   number(TOP + HEIGHT - top, 2) + "\" fill=\"" + BASELINE_COLOUR + "\" fill-opacity=\"0.25\"/>";
            svg += "<rect class=\"baseline-column\" x=\"" + x + "\" y=\"" + number(top, 2) + "\" width=\"" +
                   number(bar_width, 2) + "\" height=\"" + number(height, 2) + "\" fill=\"" + BASELINE_COLOUR +
                   "\" fill-opacity=\"0.6\"/>\n";
        }
        svg += "</g>\n";
        svg += "<polyline class=\"baseline-top\" fill=\"none\" stroke=\"#4d4d4d\" stroke-width=\"1.2\" points=\"";
        for (std::size_t c = 0; c < base.used; ++c) {
            svg += number(x_of_call_column(base, static_cast<double>(c) + 0.5), 2) + "," +
                   number(y_of(base.columns[c].max_load), 2) + " ";
        }
        svg += "\"/>\n";
        const double base_x = x_of_call_column(base, static_cast<double>((baseline->peak_call - 1) >> base.shift) + 0.5);
        const double base_y = y_of(baseline->peak_load);
        svg += "<circle class=\"baseline-peak\" cx=\"" + number(base_x, 2) + "\" cy=\"" + number(base_y, 2) +
               "\" r=\"7\" fill=\"none\" stroke=\"#555555\" stroke-width=\"2\" stroke-dasharray=\"2,2\"/>\n";
        // The label on a white ground, so that it reads over the baseline's line.
        const bool right_half = base_x > LEFT + WIDTH * 0.6;
        const std::string label = "baseline peak " + sci(baseline->peak_load) + " at call " + std::to_string(baseline->peak_call);
        const double label_width = 7.2 * static_cast<double>(label.size());
        const double label_x = base_x + (right_half ? -12 : 12);
        const double label_y = base_y < TOP + 40 ? base_y + 34 : base_y - 24;
        svg += "<rect x=\"" + number(right_half ? label_x - label_width - 3 : label_x - 3) + "\" y=\"" + number(label_y - 13) +
               "\" width=\"" + number(label_width + 6) + "\" height=\"18\" fill=\"#ffffff\" fill-opacity=\"0.85\"/>\n";
        add_text(svg, label_x, label_y, label,
                 right_half ? " class=\"baseline-peak-label\" text-anchor=\"end\" fill=\"#333333\""
                            : " class=\"baseline-peak-label\" fill=\"#333333\"");
    }
    if (calls == 0) {
        add_text(svg, LEFT + WIDTH / 2, TOP + HEIGHT / 2, "This log holds no calls.",
                 " class=\"empty\" text-anchor=\"middle\" font-size=\"20\"");
    } else {
        // Each column in its state's colour: lightly from the axis up to its maximum, solidly from its
        // minimum to its maximum (at least two pixels tall, so that a lone call shows).
        svg += "<g class=\"envelope\" shape-rendering=\"crispEdges\">\n";
        const double bar_width = std::max(width_of_column(envelope), 1.0);
        for (std::size_t c = 0; c < envelope.used; ++c) {
            const Column& column = envelope.columns[c];
            const char* colour = colour_of(data, column.state);
            const std::string x = number(x_of_call_column(envelope, static_cast<double>(c)), 2);
            const double top = y_of(column.max_load);
            const double height = std::max(2.0, y_of(column.min_load) - top);
            svg += "<rect x=\"" + x + "\" y=\"" + number(top, 2) + "\" width=\"" + number(bar_width, 2) + "\" height=\"" +
                   number(TOP + HEIGHT - top, 2) + "\" fill=\"" + colour + "\" fill-opacity=\"0.22\"/>";
            svg += "<rect class=\"column\" x=\"" + x + "\" y=\"" + number(top, 2) + "\" width=\"" + number(bar_width, 2) +
                   "\" height=\"" + number(height, 2) + "\" fill=\"" + colour + "\"/>\n";
        }
        svg += "</g>\n";
        // The mean of every column, to show drift.
        svg += "<polyline class=\"mean\" fill=\"none\" stroke=\"#222222\" stroke-width=\"0.8\" stroke-opacity=\"0.7\" points=\"";
        for (std::size_t c = 0; c < envelope.used; ++c) {
            const Column& column = envelope.columns[c];
            svg += number(x_of_call_column(envelope, static_cast<double>(c) + 0.5), 2) + "," +
                   number(y_of(column.load_sum / static_cast<double>(column.calls)), 2) + " ";
        }
        svg += "\"/>\n";
        // Where runs start (past the first column).
        svg += "<g class=\"runs\" stroke=\"#666666\" stroke-width=\"1\" stroke-dasharray=\"3,3\" stroke-opacity=\"0.7\">\n";
        for (std::size_t c = 1; c < envelope.used; ++c) {
            if (!envelope.columns[c].run_starts) continue;
            const double x = x_of_call_column(envelope, static_cast<double>(c));
            svg += "<line class=\"run-boundary\" x1=\"" + number(x, 2) + "\" x2=\"" + number(x, 2) + "\" y1=\"" + number(TOP) +
                   "\" y2=\"" + number(TOP + HEIGHT) + "\"/>\n";
        }
        svg += "</g>\n";
        // The highest call.
        const double peak_x = x_of_call_column(envelope, static_cast<double>((data.peak_call - 1) >> envelope.shift) + 0.5);
        const double peak_y = y_of(data.peak_load);
        svg += "<circle class=\"peak\" cx=\"" + number(peak_x, 2) + "\" cy=\"" + number(peak_y, 2) +
               "\" r=\"5\" fill=\"none\" stroke=\"#C00000\" stroke-width=\"2\"/>\n";
        const bool right_half = peak_x > LEFT + WIDTH * 0.6;
        add_text(
            svg, peak_x + (right_half ? -10 : 10), peak_y < TOP + 20 ? peak_y + 18 : peak_y - 8,
            "peak " + sci(data.peak_load) + " at call " + std::to_string(data.peak_call) + " (state " +
                hex_state(data.peak_state) + ")",
            right_half ? " class=\"peak-label\" text-anchor=\"end\" fill=\"#C00000\"" : " class=\"peak-label\" fill=\"#C00000\"");
    }

    if (baseline != nullptr) {
        add_comparison_table(svg, data, *baseline);
        svg += "</svg>\n";
        return svg;
    }

    // The legend: every state with its calls, mean and peak over the whole log.
    svg += "<g class=\"legend\">\n";
    const double columns_x[] = {LEGEND_LEFT + 22, LEGEND_LEFT + 190, LEGEND_LEFT + 290, LEGEND_LEFT + 380};
    auto row = [&](double row_y, const std::string(&cells)[4], const char* extra) {
        add_text(svg, columns_x[0], row_y, cells[0], extra);
        for (int k = 1; k < 4; ++k) {
            add_text(svg, columns_x[k], row_y, cells[k],
                     *extra != '\0' ? " font-weight=\"bold\" text-anchor=\"end\"" : " text-anchor=\"end\"");
        }
    };
    row(TOP + 4, {"state", "calls", "mean", "peak"}, " font-weight=\"bold\"");
    double y = TOP + 26;
    auto entry = [&](const char* colour, const std::string& name, const StateTotals& totals) {
        svg += "<g class=\"legend-entry\"><rect x=\"" + number(LEGEND_LEFT) + "\" y=\"" + number(y - 11) +
               "\" width=\"14\" height=\"14\" fill=\"" + colour + "\"/>";
        row(y, {name, std::to_string(totals.calls), sci(totals.load_sum / static_cast<double>(totals.calls)), sci(totals.peak)},
            "");
        svg += "</g>\n";
        y += 22;
    };
    for (std::size_t i = 0; i < data.state_count; ++i) {
        entry(PALETTE[i % std::size(PALETTE)], hex_state(data.states[i].state), data.states[i]);
    }
    if (data.has_other) entry(OTHER_COLOUR, "others", data.other);
    if (calls > 0 && envelope.shift > 0) {
        add_text(svg, LEGEND_LEFT, y + 10,
                 "each column: " + std::to_string(std::uint64_t{1} << envelope.shift) + " calls (bar from least to most,",
                 " fill=\"#555555\"");
        add_text(svg, LEGEND_LEFT, y + 28, "line through the means)", " fill=\"#555555\"");
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace cycalc
