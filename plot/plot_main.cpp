// cycalc-plot: a log's per-call load over time as one SVG file. The log is read exactly as cycalc
// reads it (same argument, suffixes, reader and record walk); cycalc itself is not changed.
#include <memory>
#include <string>

#include "log/log_reader.h"
#include "log/record_walk.h"
#include "plot/comparison.h"
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
    "(cycles x 400 calls per second, each run in its state's colour), and with a\n"
    "baseline log compares the two state by state.\n"
    "\nUsage : cycalc-plot infile[,d][,l] out.svg [baseline[,d][,l]]\n"
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

// One log read for the plot: the log itself or the baseline.
struct PlotInput {
    LogArgument argument;
    std::string name;  // the file-name part
    PlatformFile file;
    TextIn text;
    LogReader reader;
    PlotData data;
};

// Everything the plot works on, allocated once.
struct PlotFiles {
    PlotInput log;
    PlotInput baseline;
    PlatformFile svg_file;
    Progress progress;  // over the log and the baseline together
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

// Reads the whole log into its plot data, then closes it. False on a read error.
bool read_input(PlotInput& input, Progress& progress, const FileSystem& fs) {
    text_in_init(input.text, fs.file_source(input.file));
    input.text.progress = &progress;
    log_reader_init(input.reader, input.text, input.argument.scan_format, input.argument.long_mode);
    plot_data_init(input.data);
    PlotVisitor visitor{input.data};
    std::uint32_t current_state = 0;
    walk_log_records(input.reader, current_state, visitor);
    fs.close_file(input.file);
    return !input.text.error;
}

// Opens the log, the baseline when there is one, and creates the SVG file, which must be neither.
bool open_files(PlotFiles& files, bool with_baseline, const char* svg_name, TextOut& out, const FileSystem& fs) {
    if (!open_log_or_print_error(fs, files.log.name, files.log.file, out)) return false;
    if (!with_baseline) return create_output_or_print_error(fs, svg_name, files.log.file, files.svg_file, out);
    if (!open_log_or_print_error(fs, files.baseline.name, files.baseline.file, out)) {
        fs.close_file(files.log.file);
        return false;
    }
    // Creating the SVG file would empty a baseline of the same name: refused like the log.
    if (fs.is_same_file(svg_name, files.baseline.file)) {
        print_message(out, "Output file ", svg_name, " is the input file\n");
        fs.close_file(files.log.file);
        fs.close_file(files.baseline.file);
        return false;
    }
    if (!create_output_or_print_error(fs, svg_name, files.log.file, files.svg_file, out)) {
        fs.close_file(files.baseline.file);
        return false;
    }
    return true;
}

ExitStatus plot(PlotFiles& files, bool with_baseline, const char* svg_name, TextOut& out, const FileSystem& fs) {
    if (!open_files(files, with_baseline, svg_name, out, fs)) return ExitStatus::failure;
    const std::uint64_t log_size = fs.file_size(files.log.file);
    const std::uint64_t baseline_size = with_baseline ? fs.file_size(files.baseline.file) : 0;
    const bool sizes_known = log_size > 0 && (!with_baseline || baseline_size > 0);
    start_progress(files.progress, "cycalc-plot", sizes_known ? log_size + baseline_size : 0);
    const bool log_read = read_input(files.log, files.progress, fs);
    const bool baseline_read = !with_baseline || read_input(files.baseline, files.progress, fs);
    progress_end(files.progress);
    const std::string svg = with_baseline ? render_svg(files.log.data, files.log.name, &files.baseline.data, files.baseline.name)
                                          : render_svg(files.log.data, files.log.name);
    const bool written = write_all(fs.file_sink(files.svg_file), svg);
    const bool closed = fs.close_file(files.svg_file);
    if (!log_read) print_message(out, "Can not read input file ", files.log.name, "\n");
    if (!baseline_read) print_message(out, "Can not read input file ", files.baseline.name, "\n");
    if (!log_read || !baseline_read) return ExitStatus::failure;
    if (!written || !closed) {
        print_message(out, "Can not write output file ", svg_name, "\n");
        return ExitStatus::failure;
    }
    const PlotData& data = files.log.data;
    print_message(out, svg_name, ": " + std::to_string(data.envelope.calls) + " calls, " + std::to_string(data.runs) + " runs",
                  "\n");
    if (with_baseline) print(out, comparison_text(compare_states(data, files.baseline.data)));
    return ExitStatus::ok;
}

}  // namespace

int program_main(int argc, const char* const* argv, TextOut& out, const FileSystem& fs) {
    return run_program(out, [&] {
        if (argc <= 2) {
            print(out, PLOT_USAGE);
            return ExitStatus::failure;
        }
        const auto files = std::make_unique<PlotFiles>();
        files->log.argument = parse_log_argument(argv[1]);
        files->log.name = std::string(files->log.argument.file_name);
        const bool with_baseline = argc > 3;
        if (with_baseline) {
            files->baseline.argument = parse_log_argument(argv[3]);
            files->baseline.name = std::string(files->baseline.argument.file_name);
        }
        return plot(*files, with_baseline, argv[2], out, fs);
    });
}

}  // namespace cycalc
