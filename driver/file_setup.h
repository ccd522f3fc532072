// Opening a run's files with the program's messages: the log by its file-name part, and an output
// file beside it (never the log itself, which creating it would empty).
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/text_out.h"

namespace cycalc {

// False, after "Can not open input file NAME", when the log cannot be opened (or has no name).
bool open_log_or_report(const FileSystem& fs, const std::string& file_name, PlatformFile& log, TextOut& out);

// Creates `name` for writing. False, after "Output file NAME is the input file" or "Can not open
// output file NAME", when it names the log or cannot be created; the log is then closed.
bool create_output_or_report(const FileSystem& fs, const char* name, PlatformFile& log, PlatformFile& output,
                             TextOut& out);

}  // namespace cycalc
