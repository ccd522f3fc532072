// The progress line of a long run, for a person at a terminal: on standard error only, shown once a
// run has lasted a second, at most ten times a second, and erased when the run ends.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text_out.h"

namespace cycalc {

inline constexpr std::int64_t PROGRESS_DELAY_NS = 1'000'000'000;  // nothing for a short run
inline constexpr std::int64_t PROGRESS_PERIOD_NS = 100'000'000;   // at most ten updates a second

struct Progress {
    bool enabled;             // standard error is a terminal and standard output is not
    ByteSink sink;            // standard error
    const char* program;      // the line's first word
    std::uint64_t total;      // bytes to read; 0 when not known (a pipe)
    std::uint64_t done;       // bytes read so far
    std::int64_t start_ns;    // when the run started
    std::int64_t shown_ns;    // when the line was last shown
    std::size_t shown_width;  // characters on the terminal now (0: nothing shown)
};

// The steady clock, in nanoseconds.
std::int64_t progress_clock_ns();

void progress_init(Progress& progress, bool enabled, ByteSink sink, const char* program, std::uint64_t total,
                   std::int64_t now_ns);

// Counts `bytes` more read at time `now_ns`; redraws the line when it is due. Called once per block.
void progress_advance(Progress& progress, std::uint64_t bytes, std::int64_t now_ns);

// The line's text at `now_ns`:
//   total 1000, done 250, 2 s in   -> "cycalc: 25% read, about 6 s left"
//   total 0, done 3.5e9, 2 s in    -> "cycalc: 3.5 GB read, 1.75 GB/s"
std::size_t progress_text(const Progress& progress, std::int64_t now_ns, char* text, std::size_t size);

// Erases the line if one is shown. Safe to call more than once.
void progress_end(Progress& progress);

}  // namespace cycalc
