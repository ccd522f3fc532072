// Reading the log: the header line and the values, one or two value lines each.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/conversions.h"
#include "log/log_format.h"
#include "platform/portable.h"
#include "platform/text_in.h"

namespace cycalc {

// The stream's fast way takes a line exactly when a value line read would take it whole: at most
// VALUE_READ_LIMIT - 2 characters and the LF.
static_assert(TEXT_IN_PLAIN_LINE_MAX + 2 == VALUE_READ_LIMIT, "the fast line path must take what one value read takes");
// The header read's characters are put back in front of the block on a rewind.
static_assert(HEADER_READ_LIMIT <= TEXT_IN_HEADROOM, "the first line must fit into the input buffer's headroom");

struct LogReader {
    TextIn* log;
    ScanFormat scan_format;
    bool long_mode;     // each value spans two lines, the low half first
    bool end_of_input;  // a line read has failed; never lowered
    // Take plain lines straight from the stream's buffer (the same values as the line reads, faster).
    bool plain_lines_fast;
    char line[VALUE_READ_LIMIT + 1];  // the value line being read (the low line in long mode)
    // The high line followed by the low line: two whole value lines, so it never needs cutting.
    char value_text[2 * VALUE_READ_LIMIT];
};

void log_reader_init(LogReader& reader, TextIn& log, ScanFormat scan_format, bool long_mode);

// Reads the log's first line and skips it when it is a header line, else rewinds the log so that
// it is read again as the first value line. Returns true when the log is at its end after that read.
bool skip_log_header(LogReader& reader);

// Converts a whole value line (LF included) in the general way.
std::uint32_t convert_log_line(const LogReader& reader, const char* line, std::size_t length);

// Reads and converts one value, the general way.
std::uint32_t read_log_value_general(LogReader& reader);

// Reads and converts one value. When a line read fails, raises end_of_input and returns 0.
CYCALC_ALWAYS_INLINE std::uint32_t read_log_value(LogReader& reader) {
    // The common case first, inline: one plain line holding hex digits (after 0x) or decimal digits.
    if (!reader.long_mode && reader.plain_lines_fast) {
        std::size_t length;
        if (const char* line = text_in_plain_line(*reader.log, length)) {
            std::size_t start = 0;
            if (length >= 3 && line[0] == '0' && (line[1] == 'x' || line[1] == 'X')) start = 2;
            std::uint32_t value;
            if (reader.scan_format == ScanFormat::hexadecimal ? convert_plain_hexadecimal(line + start, length - 1 - start, value)
                                                              : convert_plain_decimal(line + start, length - 1 - start, value)) {
                return value;
            }
            return convert_log_line(reader, line, length);
        }
    }
    return read_log_value_general(reader);
}

}  // namespace cycalc
