// The progress line: its text, its timing, and erasing it.
#include "platform/progress.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace cycalc {

namespace {

void put(const Progress& progress, const char* data, std::size_t size) {
    // A failed write to the terminal changes nothing of the run: the line is only a courtesy.
    while (size > 0) {
        const long written = progress.sink.write(progress.sink.context, data, size);
        if (written <= 0) return;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// Bytes in round units: 999 B, 1.5 MB, 12 GB.
void append_bytes(char* text, std::size_t size, double bytes) {
    const char* const units[] = {"B", "kB", "MB", "GB", "TB"};
    std::size_t unit = 0;
    while (bytes >= 1000 && unit + 1 < std::size(units)) {
        bytes /= 1000;
        ++unit;
    }
    const std::size_t used = std::strlen(text);
    std::snprintf(text + used, size - used, bytes < 10 && unit > 0 ? "%.1f %s" : "%.0f %s", bytes, units[unit]);
}

}  // namespace

std::int64_t progress_clock_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void progress_init(Progress& progress, bool enabled, ByteSink sink, const char* program, std::uint64_t total,
                   std::int64_t now_ns) {
    progress = Progress{enabled, sink, program, total, 0, now_ns, now_ns, 0};
}

std::size_t progress_text(const Progress& progress, std::int64_t now_ns, char* text, std::size_t size) {
    const double seconds = static_cast<double>(now_ns - progress.start_ns) / 1e9;
    const auto done = static_cast<double>(progress.done);
    if (progress.total > 0 && progress.done <= progress.total) {
        const double fraction = done / static_cast<double>(progress.total);
        const double left = progress.done > 0 ? seconds * (1 - fraction) / fraction : 0;
        const long long whole = std::llround(left);
        if (whole >= 60) {
            std::snprintf(text, size, "%s: %d%% read, about %lld min %lld s left", progress.program,
                          static_cast<int>(fraction * 100), whole / 60, whole % 60);
        } else {
            std::snprintf(text, size, "%s: %d%% read, about %lld s left", progress.program, static_cast<int>(fraction * 100),
                          whole);
        }
    } else {
        std::snprintf(text, size, "%s: ", progress.program);
        append_bytes(text, size, done);
        const std::size_t used = std::strlen(text);
        std::snprintf(text + used, size - used, " read, ");
        append_bytes(text, size, seconds > 0 ? done / seconds : 0);
        const std::size_t end = std::strlen(text);
        std::snprintf(text + end, size - end, "/s");
    }
    return std::strlen(text);
}

void progress_advance(Progress& progress, std::uint64_t bytes, std::int64_t now_ns) {
    progress.done += bytes;
    if (!progress.enabled || now_ns - progress.start_ns < PROGRESS_DELAY_NS) return;
    if (progress.shown_width > 0 && now_ns - progress.shown_ns < PROGRESS_PERIOD_NS) return;
    char line[128];
    line[0] = '\r';
    std::size_t length = 1 + progress_text(progress, now_ns, line + 1, sizeof line - 1);
    // Blanks over the end of a longer line shown before.
    while (length - 1 < progress.shown_width && length < sizeof line) line[length++] = ' ';
    put(progress, line, length);
    progress.shown_width = length - 1;
    progress.shown_ns = now_ns;
}

void progress_end(Progress& progress) {
    if (progress.shown_width == 0) return;
    char line[130];
    std::size_t length = 0;
    line[length++] = '\r';
    for (std::size_t i = 0; i < progress.shown_width && length < sizeof line - 1; ++i) line[length++] = ' ';
    line[length++] = '\r';
    put(progress, line, length);
    progress.shown_width = 0;
}

}  // namespace cycalc
