// The header line and the values of the log.
#include "log/log_reader.h"

#include <cstring>

#include "log/conversions.h"

namespace cycalc {

namespace {

bool has_hex_prefix(const char* text, std::size_t length) {
    return length >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// A value line's text without its 0x or 0X prefix.
struct Text {
    const char* chars;
    std::size_t length;
};

Text without_hex_prefix(Text text) {
    return has_hex_prefix(text.chars, text.length) ? Text{text.chars + 2, text.length - 2} : text;
}

std::uint32_t convert(ScanFormat format, Text text) {
    return format == ScanFormat::decimal ? convert_decimal(text.chars, text.length)
                                         : convert_hexadecimal(text.chars, text.length);
}

// Long mode: the high line's text without its LF, followed by the low line's text without its prefix.
std::uint32_t convert_joined(char* joined, Text high, Text low) {
    if (high.length > 0 && high.chars[high.length - 1] == '\n') --high.length;
    low = without_hex_prefix(low);
    // Both come from reads of at most VALUE_READ_LIMIT - 1 characters: the join fits whole.
    std::memmove(joined, high.chars, high.length);
    std::memcpy(joined + high.length, low.chars, low.length);
    return convert_hexadecimal(joined, high.length + low.length);
}

// Reads a value line the exact way into `line`; its text ends at its first NUL.
bool read_value_line(LogReader& reader, char* line, Text& text) {
    if (text_in_read_line(*reader.log, line, VALUE_READ_LIMIT) < 0) {
        reader.end_of_input = true;
        return false;
    }
    text = Text{line, std::strlen(line)};
    return true;
}

}  // namespace

void log_reader_init(LogReader& reader, TextIn& log, ScanFormat scan_format, bool long_mode) {
    reader.log = &log;
    reader.scan_format = scan_format;
    reader.long_mode = long_mode;
    reader.end_of_input = false;
    reader.plain_lines_fast = true;
    reader.line[0] = '\0';
    reader.value_text[0] = '\0';
}

bool skip_log_header(LogReader& reader) {
    char line[HEADER_READ_LIMIT + 1];
    const long count = text_in_read_line(*reader.log, line, HEADER_READ_LIMIT);
    if (reader.log->eof) return true;
    // The text ends at its first NUL, for the length as for the mark.
    if (std::strlen(line) >= HEADER_MIN_LENGTH && std::strstr(line, HEADER_MARK) != nullptr) return false;
    text_in_rewind_first_line(*reader.log, line, static_cast<std::size_t>(count));
    return false;
}

std::uint32_t convert_log_line(const LogReader& reader, const char* line, std::size_t length) {
    return convert(reader.scan_format, without_hex_prefix(Text{line, length}));
}

std::uint32_t read_log_value_general(LogReader& reader) {
    TextIn& log = *reader.log;
    std::size_t length;
    if (!reader.long_mode) {
        Text text;
        if (!read_value_line(reader, reader.line, text)) return 0;
        return convert(reader.scan_format, without_hex_prefix(text));
    }

    // Long mode: the low line, then the high line.
    Text low;
    const char* plain = reader.plain_lines_fast ? text_in_plain_line(log, length) : nullptr;
    if (plain != nullptr) {
        low = Text{plain, length};
    } else if (!read_value_line(reader, reader.line, low)) {
        return 0;
    }
    Text high;
    plain = reader.plain_lines_fast ? text_in_plain_line(log, length) : nullptr;
    if (plain != nullptr) {
        high = Text{plain, length};
        // The common shape: 0x, four low digits and the LF (a low line cut short by a NUL has no LF),
        // and up to four high digits.
        std::uint32_t high_value;
        std::uint32_t low_value;
        if (low.length == 7 && low.chars[6] == '\n' && convert_plain_low_half(low.chars, 6, low_value) &&
            convert_plain_high_half(high.chars, high.length - 1, high_value)) {
            return high_value << 16 | low_value;
        }
    } else {
        // The line read may refill the buffer that a plain low line still lies in: keep a copy.
        if (low.chars != reader.line) {
            std::memcpy(reader.line, low.chars, low.length);
            reader.line[low.length] = '\0';
            low.chars = reader.line;
        }
        if (!read_value_line(reader, reader.value_text, high)) return 0;
    }
    return convert_joined(reader.value_text, high, low);
}

}  // namespace cycalc
