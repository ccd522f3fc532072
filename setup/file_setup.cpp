// Opening a run's files, with the messages of each way it can fail.
#include "setup/file_setup.h"

#include "platform/progress.h"
#include "setup/messages.h"

namespace cycalc {

bool open_log_or_print_error(const FileSystem& fs, const std::string& file_name, PlatformFile& log, TextOut& out) {
    if (!file_name.empty() && fs.open_log_file(file_name.c_str(), log)) return true;
    print_message(out, "Can not open input file ", file_name, "\n");
    return false;
}

bool create_output_or_print_error(const FileSystem& fs, const char* name, PlatformFile& log, PlatformFile& output, TextOut& out) {
    if (fs.is_same_file(name, log)) {
        print_message(out, "Output file ", name, " is the input file\n");
    } else if (!fs.create_detail_file(name, output)) {
        print_message(out, "Can not open output file ", name, "\n");
    } else {
        return true;
    }
    fs.close_file(log);
    return false;
}

void start_progress(Progress& progress, const char* program, std::uint64_t total) {
    static PlatformFile error = standard_error();
    const bool enabled = is_terminal(error) && !is_terminal(standard_output());
    progress_init(progress, enabled, file_sink(error), program, total, progress_clock_ns());
}

}  // namespace cycalc
