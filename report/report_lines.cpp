// The two report lines, filled in field by field from their format texts.
#include "report/report_lines.h"

#include <algorithm>

#include "report/number_fields.h"

namespace cycalc {

namespace {

// Copies the literal text without its NUL: the line is a counted text, not a C string.
template <std::size_t N>
std::size_t put(char* out, const char (&literal)[N]) {
    std::copy(literal, literal + N - 1, out);
    return N - 1;
}

}  // namespace

std::size_t render_summary_line(char* line, std::uint32_t state, float average, float peak) {
    // "ID: %04lx (%5lu) MIPs (avg,peak): %1.2e %1.2e\n"
    char* p = line;
    p += put(p, "ID: ");
    p += format_hex_field(state, p);
    p += put(p, " (");
    p += format_decimal_field(state, p);
    p += put(p, ") MIPs (avg,peak): ");
    p += format_sci(static_cast<double>(average), p);
    *p++ = ' ';
    p += format_sci(static_cast<double>(peak), p);
    *p++ = '\n';
    return static_cast<std::size_t>(p - line);
}

std::size_t render_detail_line(char* line, std::uint32_t state, std::uint32_t cycles, double mips) {
    // "state_ID: 0x%04lx, CPU cycles/call: %1.2e, MIPs: %1.2e\n"
    char* p = line;
    p += put(p, "state_ID: 0x");
    p += format_hex_field(state, p);
    p += put(p, ", CPU cycles/call: ");
    // Both numbers are whole (the product is exact, below 2^41): integer rendering is exact and fast.
    p += format_sci_integer(cycles, p);
    p += put(p, ", MIPs: ");
    p += format_sci_integer(static_cast<std::uint64_t>(mips), p);
    *p++ = '\n';
    return static_cast<std::size_t>(p - line);
}

void write_summary_line(TextOut& out, std::uint32_t state, float average, float peak) {
    char line[REPORT_LINE_MAX];
    text_out_write_line(out, line, render_summary_line(line, state, average, peak));
}

void write_detail_line(TextOut& detail, std::uint32_t state, std::uint32_t cycles, double mips) {
    // Rendered straight into the stream's buffer: one line per call adds up over a large log.
    char* const line = text_out_line_room(detail, REPORT_LINE_MAX);
    text_out_commit_line(detail, render_detail_line(line, state, cycles, mips));
}

}  // namespace cycalc
