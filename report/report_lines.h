// The summary line (one per run, on standard output) and the detail line (one per call, in the
// detail file).
#pragma once

#include <cstdint>

#include "platform/text_out.h"

namespace cycalc {

inline constexpr char SUMMARY_LINE_FORMAT[] = "ID: %04lx (%5lu) MIPs (avg,peak): %1.2e %1.2e\n";
inline constexpr char DETAIL_LINE_FORMAT[] = "state_ID: 0x%04lx, CPU cycles/call: %1.2e, MIPs: %1.2e\n";

// Room for the longest line of either kind.
inline constexpr std::size_t REPORT_LINE_MAX = 96;

// Render the line into `line` and return its length; the line ends in LF.
std::size_t render_summary_line(char* line, std::uint32_t state, float average, float peak);
std::size_t render_detail_line(char* line, std::uint32_t state, std::uint32_t cycles, double mips);

void write_summary_line(TextOut& out, std::uint32_t state, float average, float peak);
void write_detail_line(TextOut& detail, std::uint32_t state, std::uint32_t cycles, double mips);

// The start of a detail line, the same for every call of a run: "state_ID: 0x0001, CPU cycles/call: ".
struct DetailLineStart {
    std::uint32_t state;
    std::size_t length;
    char text[48];  // copied whole; the fields that follow overwrite what lies past `length`
};
void detail_line_start(DetailLineStart& start, std::uint32_t state);

// write_detail_line() for the state of `start`, which a pass renders once per run.
void write_detail_line(TextOut& detail, const DetailLineStart& start, std::uint32_t cycles, double mips);

}  // namespace cycalc
