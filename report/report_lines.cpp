// The two report lines, filled in field by field from their format texts.
#include "report/report_lines.h"

#include <algorithm>
#include <iterator>

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

void detail_line_start(DetailLineStart& start, std::uint32_t state) {
    // "state_ID: 0x%04lx, CPU cycles/call: " of "state_ID: 0x%04lx, CPU cycles/call: %1.2e, MIPs: %1.2e\n"
    std::fill(std::begin(start.text), std::end(start.text), ' ');  // every byte copied is defined
    char* p = start.text;
    p += put(p, "state_ID: 0x");
    p += format_hex_field(state, p);
    p += put(p, ", CPU cycles/call: ");
    start.state = state;
    start.length = static_cast<std::size_t>(p - start.text);
}

namespace {

// The rest of the detail line after its start: "%1.2e, MIPs: %1.2e\n".
std::size_t render_detail_line(char* line, const DetailLineStart& start, std::uint32_t cycles, double mips) {
    std::copy(start.text, start.text + sizeof start.text, line);
    char* p = line + start.length;
    // Both numbers are whole (the product is exact, below 2^41): integer rendering is exact and fast.
    p += format_sci_integer(cycles, p);
    p += put(p, ", MIPs: ");
    p += format_sci_integer(static_cast<std::uint64_t>(mips), p);
    *p++ = '\n';
    return static_cast<std::size_t>(p - line);
}

}  // namespace

std::size_t render_detail_line(char* line, std::uint32_t state, std::uint32_t cycles, double mips) {
    DetailLineStart start;
    detail_line_start(start, state);
    return render_detail_line(line, start, cycles, mips);
}

void write_summary_line(TextOut& out, std::uint32_t state, float average, float peak) {
    char line[REPORT_LINE_MAX];
    text_out_write_line(out, line, render_summary_line(line, state, average, peak));
}

void write_detail_line(TextOut& detail, std::uint32_t state, std::uint32_t cycles, double mips) {
    DetailLineStart start;
    detail_line_start(start, state);
    write_detail_line(detail, start, cycles, mips);
}

void write_detail_line(TextOut& detail, const DetailLineStart& start, std::uint32_t cycles, double mips) {
    // Rendered straight into the stream's buffer: one line per call adds up over a large log.
    static_assert(sizeof start.text + 8 + 8 + 8 + 1 <= REPORT_LINE_MAX, "a detail line fits its room");
    char* const line = text_out_line_room(detail, REPORT_LINE_MAX);
    text_out_commit_line(detail, render_detail_line(line, start, cycles, mips));
}

}  // namespace cycalc
