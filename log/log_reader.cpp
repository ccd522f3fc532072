// The header line and the values of the log.
#include "log/log_reader.h"

#include <cstring>

#include "log/conversions.h"

namespace cycalc {

namespace {

bool has_hex_prefix(const char* text) { return text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

const char* without_hex_prefix(const char* text) { return has_hex_prefix(text) ? text + 2 : text; }

std::uint32_t convert(ScanFormat format, const char* text) {
    return format == ScanFormat::decimal ? convert_decimal(text) : convert_hexadecimal(text);
}

}  // namespace

void log_reader_init(LogReader& reader, TextIn& log, ScanFormat scan_format, bool long_mode) {
    reader.log = &log;
    reader.scan_format = scan_format;
    reader.long_mode = long_mode;
    reader.end_of_input = false;
    reader.first_line[0] = '\0';
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

std::uint32_t read_log_value(LogReader& reader) {
    if (text_in_read_line(*reader.log, reader.first_line, VALUE_READ_LIMIT) < 0) {
        reader.end_of_input = true;
        return 0;
    }
    if (!reader.long_mode) return convert(reader.scan_format, without_hex_prefix(reader.first_line));

    // Long mode: the high line's text, without its LF, then the low line's text without its prefix.
    char* high = reader.value_text;
    if (text_in_read_line(*reader.log, high, VALUE_READ_LIMIT) < 0) {
        reader.end_of_input = true;
        return 0;
    }
    std::size_t length = std::strlen(high);
    if (length > 0 && high[length - 1] == '\n') --length;
    // Both texts come from reads of at most VALUE_READ_LIMIT - 1 characters: the join fits whole.
    const char* low = without_hex_prefix(reader.first_line);
    const std::size_t low_length = std::strlen(low);
    static_assert(sizeof reader.value_text >= 2 * (VALUE_READ_LIMIT - 1) + 1);
    std::memcpy(high + length, low, low_length + 1);
    return convert_hexadecimal(high);
}

}  // namespace cycalc
