// The log's format: the header mark, the read limits and the two value encodings.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cycalc {

// A first line longer than 10 characters that holds this text is a header line and is skipped.
inline constexpr char HEADER_MARK[] = "1651";
inline constexpr std::size_t HEADER_MIN_LENGTH = 11;

// Read limits, the terminating NUL included: a header read takes at most 78 characters, a value
// line read at most 18; a longer line goes on in the next read.
inline constexpr std::size_t HEADER_READ_LIMIT = 79;
inline constexpr std::size_t VALUE_READ_LIMIT = 19;

// The conversion applied to every value text; its text is echoed in the "format:" line.
enum class ScanFormat { hexadecimal, decimal };

inline const char* scan_format_text(ScanFormat format) { return format == ScanFormat::decimal ? "%ld.%*d" : "%lx"; }

}  // namespace cycalc
