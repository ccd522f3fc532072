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

// The value of a plain value line's text (without its CR and LF), as the line read and the
// conversion would give it: 1 to 8 hex digits or 1 to 9 decimal digits after an optional 0x. False
// for any other text, which the general conversion then takes. 8 bytes from every position of
// `text` must be readable.
//   hex ("0x00C8", 6) -> 0xc8     decimal ("0x10", 4) -> 10     (" 12", 3), ("1.5", 3) -> false
CYCALC_ALWAYS_INLINE bool convert_plain_line(ScanFormat format, const char* text, std::size_t length, std::uint32_t& value) {
    // 0x and four digits first: the shape of nearly every hexadecimal log.
    if (length == 6 && format == ScanFormat::hexadecimal && text[0] == '0' && (text[1] | 0x20) == 'x') {
        return convert_four_hex_digits(text + 2, value);
    }
    std::size_t start = 0;
    if (length >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) start = 2;
    return format == ScanFormat::hexadecimal ? convert_plain_hexadecimal(text + start, length - start, value)
                                             : convert_plain_decimal(text + start, length - start, value);
}

// Long mode's common shape: a low line of 0x and four hex digits, and a high line of one to four hex
// digits after an optional 0x; the joined text is then the high digits followed by the four low
// ones, high << 16 | low. ("0x00C8", 6) -> 0xc8 as low half; ("0x0001", 6) -> 1 as high half.
CYCALC_ALWAYS_INLINE bool convert_plain_low_half(const char* text, std::size_t length, std::uint32_t& value) {
    return length == 6 && text[0] == '0' && (text[1] | 0x20) == 'x' && convert_four_hex_digits(text + 2, value);
}

CYCALC_ALWAYS_INLINE bool convert_plain_high_half(const char* text, std::size_t length, std::uint32_t& value) {
    std::size_t start = 0;
    if (length >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) start = 2;
    return length - start <= 4 && convert_plain_hexadecimal(text + start, length - start, value);
}

// Reads and converts one value. When a line read fails, raises end_of_input and returns 0.
CYCALC_ALWAYS_INLINE std::uint32_t read_log_value(LogReader& reader) {
    // The common case first, inline: one plain line holding hex digits (after 0x) or decimal digits.
    if (!reader.long_mode && reader.plain_lines_fast) {
        std::size_t length;
        if (const char* line = text_in_plain_line(*reader.log, length)) {
            std::uint32_t value;
            if (convert_plain_line(reader.scan_format, line, length - 1, value)) return value;
            return convert_log_line(reader, line, length);
        }
    }
    return read_log_value_general(reader);
}

}  // namespace cycalc
