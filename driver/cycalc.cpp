// Run set-up: the command line, the two files, the informational lines and the exit status.
#include "driver/cycalc.h"

#include <memory>
#include <string>
#include <string_view>

#include "driver/measurement_pass.h"
#include "driver/usage.h"
#include "log/log_reader.h"
#include "platform/files.h"
#include "setup/command_line.h"
#include "setup/exit_status.h"
#include "setup/file_setup.h"
#include "setup/messages.h"
#include "setup/program.h"

namespace cycalc {

namespace {

// Everything the pass works on, allocated once per run.
struct RunFiles {
    PlatformFile log_file;
    PlatformFile detail_file;
    TextIn log;
    LogReader reader;
    TextOut detail;
    PassState pass;
    Progress progress;
};

ExitStatus run_log(RunFiles& files, const LogArgument& argument, const std::string& file_name, const char* outfile, TextOut& out,
                   const FileSystem& fs, bool plain_lines_fast) {
    if (!open_log_or_print_error(fs, file_name, files.log_file, out)) return ExitStatus::failure;
    print_message(out, "file name: ", file_name, "\n");
    print_message(out, "format: ", scan_format_text(argument.scan_format), "\n");

    TextOut* detail = nullptr;
    if (outfile != nullptr) {
        if (!create_output_or_print_error(fs, outfile, files.log_file, files.detail_file, out)) return ExitStatus::failure;
        text_out_init(files.detail, fs.file_sink(files.detail_file), false);
        detail = &files.detail;
    }

    text_in_init(files.log, fs.file_source(files.log_file));
    start_progress(files.progress, "cycalc", fs.file_size(files.log_file));
    files.log.progress = &files.progress;
    log_reader_init(files.reader, files.log, argument.scan_format, argument.long_mode);
    files.reader.plain_lines_fast = plain_lines_fast;
    const PassOutcome outcome = run_measurement_pass(files.reader, files.pass, out, detail);
    progress_end(files.progress);

    // The log, then the detail file; the last close gives the result. On a log that ended with its
    // first line the program just ends, whatever the closes say.
    bool closed = fs.close_file(files.log_file);
    bool detail_lost = false;
    if (detail != nullptr) {
        detail_lost = !text_out_flush(*detail);
        closed = fs.close_file(files.detail_file);
    }
    if (files.log.error) {
        // A read error ends the pass like the end of the log, but is never taken for it.
        print_message(out, "Can not read input file ", file_name, "\n");
        return ExitStatus::failure;
    }
    if (outcome == PassOutcome::log_at_end) return with_lost_output(ExitStatus::ok, detail_lost);
    return with_lost_output(ExitStatus::ok, detail_lost || !closed);
}

ExitStatus run(int argc, const char* const* argv, TextOut& out, const FileSystem& fs, bool plain_lines_fast) {
    if (argc <= 1) {
        for (const char* text : USAGE_TEXTS) print(out, text);
        return ExitStatus::failure;
    }
    const std::string_view log_argument = argv[1];
    const LogArgument argument = parse_log_argument(log_argument);
    const std::string file_name(argument.file_name);
    const char* outfile = argc > 2 ? argv[2] : nullptr;
    const auto files = std::make_unique<RunFiles>();
    return run_log(*files, argument, file_name, outfile, out, fs, plain_lines_fast);
}

}  // namespace

int run_cycalc(int argc, const char* const* argv, TextOut& out, const FileSystem& fs, bool plain_lines_fast) {
    return run_program(out, [&] { return run(argc, argv, out, fs, plain_lines_fast); });
}

}  // namespace cycalc
