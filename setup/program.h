// What both programs share around their run: the entry points of every platform call program_main,
// which each program defines, and run_program turns a run into a flushed output and an exit status.
#pragma once

#include <new>

#include "platform/files.h"
#include "platform/text_out.h"
#include "setup/exit_status.h"
#include "setup/messages.h"

namespace cycalc {

// Defined once by each program (cycalc, cycalc-plot).
int program_main(int argc, const char* const* argv, TextOut& out, const FileSystem& fs);

// Runs `run()` (which returns an ExitStatus), turns a failed allocation into "Out of memory" and
// status 1, flushes `out` and returns the exit status, lost output counted.
template <typename Run>
int run_program(TextOut& out, Run&& run) {
    ExitStatus status = ExitStatus::failure;
    try {
        status = run();
    } catch (const std::bad_alloc&) {
        print(out, "Out of memory\n");
    }
    return exit_code(with_lost_output(status, !text_out_flush(out)));
}

}  // namespace cycalc
