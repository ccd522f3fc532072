// Opening a run's files with the program's messages: the log by its file-name part, and an output
// file beside it (never the log itself, which creating it would empty).
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/progress.h"
#include "platform/text_out.h"

namespace cycalc {

// Opens the log. When it cannot be opened (or has no name), prints "Can not open input file NAME"
// on `out` and returns false.
bool open_log_or_print_error(const FileSystem& fs, const std::string& file_name, PlatformFile& log, TextOut& out);

// Creates `name` for writing. When it is the open log, prints "Output file NAME is the input file";
// when it cannot be created, "Can not open output file NAME"; either way closes the log and returns
// false.
bool create_output_or_print_error(const FileSystem& fs, const char* name, PlatformFile& log, PlatformFile& output, TextOut& out);

// Starts the progress line of a run that reads `total` bytes (0: not known). It is shown only when
// standard error is a terminal and standard output is not (the report goes to a file or a pipe).
void start_progress(Progress& progress, const char* program, std::uint64_t total);

}  // namespace cycalc
