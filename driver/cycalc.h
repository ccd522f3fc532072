// cycalc as one call: command line in, report on `out`, exit status back.
#pragma once

#include "platform/files.h"
#include "platform/text_out.h"

namespace cycalc {

// Runs cycalc with the arguments as the platform delivers them (argv[0] is the program's name).
// Writes everything for standard output to `out` and flushes it before returning. The files are
// opened, read, written and closed through `fs`. Without `plain_lines_fast` every line takes the
// general line read (the benchmark's reference for the fast path).
int run_cycalc(int argc, const char* const* argv, TextOut& out, const FileSystem& fs, bool plain_lines_fast = true);

}  // namespace cycalc
