// cycalc-plot: a log's per-call load over time as one SVG file. The log is read exactly as cycalc
// reads it (same argument, suffixes, reader and record walk); cycalc itself is not changed.
#include <memory>
#include <string>

#include "log/log_reader.h"
#include "log/record_walk.h"
#include "plot/plot_data.h"
#include "plot/svg_plot.h"
#include "setup/command_line.h"
#include "setup/exit_status.h"
#include "setup/file_setup.h"
#include "setup/messages.h"
#include "setup/program.h"

namespace cycalc {

namespace {

constexpr const char* PLOT_USAGE =
    "cycalc-plot: draws the load of every call in a cycalc log as one SVG file\n"
    "(cycles x 400 calls per second, each run in its state's colour).\n"
    "\nUsage : cycalc-plot infile[,d][,l] out.svg\n"
    "where:\n"
    "  ,d option specifies data in 'infile' to be in ascii decimal format\n"
    "  ,l option specifies data in 'infile' to be 32-bit long\n"
    "\n";

struct PlotVisitor {
    PlotData& data;
    void record(std::uint32_t current_state, std::uint32_t next_state, std::uint32_t cycles) {
        plot_call(data, current_state, next_state, cycles);
    }
    std::uint32_t records(std::uint32_t current_state, const std::uint32_t* values, std::size_t count) {
        for (std::size_t i = 0; i < count; i += 2) {
            plot_call(data, current_state, values[i], values[i + 1]);
            current_state = values[i];
        }
        return current_state;
    }
    // Called once when the log held a first record: that record started the first run.
    void last_run_ends(std::uint32_t) { ++data.runs; }
};

// Everything the plot works on, allocated once.
struct PlotFiles {
    PlatformFile log_file;
    PlatformFile svg_file;
    TextIn log;
    LogReader reader;
    PlotData data;
};

bool write_all(ByteSink sink, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const long put = sink.write(sink.context, text.data() + done, text.size() - done);
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

ExitStatus plot(PlotFiles& files, const LogArgument& argument, const std::string& file_name, const char* svg_name, TextOut& out,
                const FileSystem& fs) {
    if (!open_log_or_print_error(fs, file_name, files.log_file, out) ||
        !create_output_or_print_error(fs, svg_name, files.log_file, files.svg_file, out)) {
        return ExitStatus::failure;
    }
    text_in_init(files.log, fs.file_source(files.log_file));
    log_reader_init(files.reader, files.log, argument.scan_format, argument.long_mode);
    plot_data_init(files.data);
    PlotVisitor visitor{files.data};
    std::uint32_t current_state = 0;
    walk_log_records(files.reader, current_state, visitor);
    fs.close_file(files.log_file);
    const bool written = write_all(fs.file_sink(files.svg_file), render_svg(files.data, file_name));
    const bool closed = fs.close_file(files.svg_file);
    if (files.log.error) {
        print_message(out, "Can not read input file ", file_name, "\n");
        return ExitStatus::failure;
    }
    if (!written || !closed) {
        print_message(out, "Can not write output file ", svg_name, "\n");
        return ExitStatus::failure;
    }
    print_message(out, svg_name,
                  ": " + std::to_string(files.data.envelope.calls) + " calls, " + std::to_string(files.data.runs) + " runs",
                  "\n");
    return ExitStatus::ok;
}

}  // namespace

int program_main(int argc, const char* const* argv, TextOut& out, const FileSystem& fs) {
    return run_program(out, [&] {
        if (argc <= 2) {
            print(out, PLOT_USAGE);
            return ExitStatus::failure;
        }
        const LogArgument argument = parse_log_argument(argv[1]);
        const auto files = std::make_unique<PlotFiles>();
        return plot(*files, argument, std::string(argument.file_name), argv[2], out, fs);
    });
}

}  // namespace cycalc
