// The batch read: 64-byte masks of the line feeds and special bytes, then the lines between the
// line feeds, each converted by the plain conversions.
#include "log/value_batch.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#include "log/conversions.h"
#include "platform/byte_masks.h"
#include "platform/portable.h"
#include "platform/text_in.h"

namespace cycalc {

namespace {

// Every 64-byte load starts before the block's end and may reach up to 63 bytes past it, plus the
// one byte after it that tells whether a CR in the last position is followed by its LF.
static_assert(TEXT_IN_PADDING >= 64, "the 64-byte loads past the block's end must stay within the padding");

}  // namespace

std::size_t read_value_batch(LogReader& reader, std::uint32_t* values, std::size_t capacity) {
    TextIn& in = *reader.log;
    const char* const buffer = in.buffer;
    const std::size_t end = in.end;
    const bool long_mode = reader.long_mode;
    const std::size_t lines_per_record = long_mode ? 4 : 2;
    capacity -= capacity % 2;

    std::size_t line = in.pos;        // where the next line starts
    std::size_t record_end = in.pos;  // just past the last whole record taken
    std::size_t count = 0;            // values stored (a high half not yet joined included)
    std::size_t whole = 0;            // values of whole records
    std::size_t lines = 0;            // lines taken since the last whole record
    std::uint32_t low = 0;
    for (std::size_t chunk = in.pos; chunk < end; chunk += 64) {
        const ByteMasks masks = byte_masks(buffer + chunk);
        const std::size_t left = end - chunk;
        const std::uint64_t inside = left >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << left) - 1;
        const std::uint64_t feeds = masks.line_feeds & inside;
        // A CR is harmless right before an LF (the line read drops it); any other special byte ends
        // the stretch that the batch may take.
        const std::uint64_t next_is_lf = left > 64 && buffer[chunk + 64] == '\n' ? std::uint64_t{1} << 63 : 0;
        const std::uint64_t cr_before_lf = (feeds >> 1) | next_is_lf;
        const std::uint64_t stops = (masks.ends | (masks.carriage_returns & ~cr_before_lf)) & inside;
        std::uint64_t usable = feeds;
        if (stops != 0) usable &= (std::uint64_t{1} << std::countr_zero(stops)) - 1;
        for (; usable != 0; usable &= usable - 1) {
            const std::size_t feed = chunk + static_cast<std::size_t>(std::countr_zero(usable));
            std::size_t text_end = feed;
            if (text_end > line && buffer[text_end - 1] == '\r') --text_end;
            const std::size_t length = text_end - line;
            if (length > TEXT_IN_PLAIN_LINE_MAX) goto done;
            std::uint32_t value;
            if (!long_mode) {
                if (!convert_plain_line(reader.scan_format, buffer + line, length, value)) goto done;
                values[count++] = value;
            } else if ((lines & 1) == 0) {
                if (!convert_plain_low_half(buffer + line, length, low)) goto done;
            } else {
                if (!convert_plain_high_half(buffer + line, length, value)) goto done;
                values[count++] = value << 16 | low;
            }
            line = feed + 1;
            if (++lines == lines_per_record) {
                lines = 0;
                whole = count;
                record_end = line;
                if (whole == capacity) goto done;
            }
        }
        if (stops != 0) break;
        // The line in progress runs on past this chunk: when it is already longer than a plain line
        // (17 characters, a CR and the LF), it is the line reads' and the batch ends, so that a long
        // line is never scanned again and again.
        if (chunk + 64 > line + TEXT_IN_PLAIN_LINE_MAX + 2) break;
    }
done:
    in.pos = record_end;
    return whole;
}

}  // namespace cycalc
