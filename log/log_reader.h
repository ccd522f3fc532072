// Reading the log: the header line and the values, one or two value lines each.
#pragma once

#include <cstdint>

#include "log/log_format.h"
#include "platform/text_in.h"

namespace cycalc {

struct LogReader {
    TextIn* log;
    ScanFormat scan_format;
    bool long_mode;     // each value spans two lines, the low half first
    bool end_of_input;  // a line read has failed; never lowered
    char first_line[VALUE_READ_LIMIT + 1];
    // The high line followed by the low line: two whole value lines, so it never needs cutting.
    char value_text[2 * VALUE_READ_LIMIT];
};

void log_reader_init(LogReader& reader, TextIn& log, ScanFormat scan_format, bool long_mode);

// Reads the log's first line and skips it when it is a header line, else rewinds the log so that
// it is read again as the first value line. Returns true when the log is at its end after that read.
bool skip_log_header(LogReader& reader);

// Reads and converts one value. When a line read fails, raises end_of_input and returns 0.
std::uint32_t read_log_value(LogReader& reader);

}  // namespace cycalc
