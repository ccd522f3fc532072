// The exit statuses of both programs, and which one wins when a run ends in more than one way.
#pragma once

namespace cycalc {

enum class ExitStatus : int {
    ok = 0,
    failure = 1,        // usage, or a file that cannot be opened, read or written as a whole
    output_lost = 255,  // -1 as an 8-bit status: a write to standard output or the detail file failed
};

// A failure wins over lost output, which wins over success:
//   (ok, lost) -> output_lost     (failure, lost) -> failure     (ok, not lost) -> ok
constexpr ExitStatus with_lost_output(ExitStatus status, bool output_lost) {
    return status == ExitStatus::ok && output_lost ? ExitStatus::output_lost : status;
}

constexpr int exit_code(ExitStatus status) { return static_cast<int>(status); }

}  // namespace cycalc
