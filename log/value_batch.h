// Many values at a time, straight from the input block: a shortcut over the lines whose outcome is
// known without the line reads, for the stretches of a log that hold nothing unusual.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/log_reader.h"

namespace cycalc {

// Values per batch: a few KiB on the stack of the record walk.
inline constexpr std::size_t VALUE_BATCH = 512;

// Reads the values of whole records (state ID and cycle count, so an even count) from the lines that
// lie complete in the stream's block, converting each exactly as read_log_value would, and moves
// the stream past them. A line is taken only when the line read would take it whole and plain: at
// most 17 characters before its LF, no Ctrl-Z or NUL, no CR other than one right before the LF, and
// a text that the plain conversions accept (in long mode, a low line of 0x and four hex digits and a
// high line of one to four hex digits). The batch ends before the first other line, before a record
// that is not complete in the block, or at `capacity` values; 0 means that the next value is for
// read_log_value. Never sets the end-of-file indicator or end_of_input.
//   block "0x0001\n0x00C8\n0x0002\n0x0032\n0x0002\n"      -> 1, 0xc8, 2, 0x32 (the last line waits)
//   block "0x0001\n0x00C8\n0x0002\n\x1a"                  -> 1, 0xc8 (the Ctrl-Z is the line reads')
//   block "0x0001\r\n0x00C8\r\n12345678901234567890\n..." -> 1, 0xc8
std::size_t read_value_batch(LogReader& reader, std::uint32_t* values, std::size_t capacity);

}  // namespace cycalc
