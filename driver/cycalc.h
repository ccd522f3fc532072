// The program as one call: command line in, report on `out`, exit status back.
#pragma once

#include "platform/files.h"
#include "platform/text_out.h"

namespace cycalc {

inline constexpr int STATUS_OK = 0;
inline constexpr int STATUS_FAILURE = 1;          // usage, or a file that cannot be opened or read
inline constexpr int STATUS_WRITE_FAILED = 255;   // -1 as an 8-bit status: some output was lost

// Status precedence: a failure (1) over lost output (255) over success (0).
inline int status_with_lost_output(int status, bool output_lost) {
    return status == STATUS_OK && output_lost ? STATUS_WRITE_FAILED : status;
}

// Runs cycalc with the arguments as the platform delivers them (argv[0] is the program's name).
// Writes everything for standard output to `out` and flushes it before returning. The files are
// opened, read, written and closed through `fs`. Without `plain_lines_fast` every line takes the
// general line read (the benchmark's reference for the fast path).
int run_cycalc(int argc, const char* const* argv, TextOut& out, const FileSystem& fs, bool plain_lines_fast = true);

}  // namespace cycalc
