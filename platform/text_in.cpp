// Text-mode input stream: the byte-level rules of the log's text conventions and line reads.
#include "platform/text_in.h"

#include <cstring>

namespace cycalc {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char CTRL_Z = '\x1a';

// Fetches the next block; false when the data has ended (for good: later calls read nothing more).
bool refill(TextIn& in) {
    if (in.at_end) return false;
    const long got = in.source.read(in.source.context, in.buffer + TEXT_IN_HEADROOM, TEXT_IN_BLOCK);
    if (got <= 0) {
        in.at_end = true;
        in.error = got < 0;
        in.pos = in.end = TEXT_IN_HEADROOM;
        return false;
    }
    in.pos = TEXT_IN_HEADROOM;
    in.end = TEXT_IN_HEADROOM + static_cast<std::size_t>(got);
    return true;
}

}  // namespace

void text_in_init(TextIn& in, ByteSource source) {
    in.source = source;
    in.pos = in.end = TEXT_IN_HEADROOM;
    in.eof = false;
    in.at_end = false;
    in.error = false;
}

long text_in_read_line(TextIn& in, char* line, std::size_t limit) {
    std::size_t count = 0;
    while (count + 1 < limit) {
        if (in.pos == in.end && !refill(in)) {
            in.eof = true;
            if (count == 0 || in.error) return -1;
            break;
        }
        const char c = in.buffer[in.pos++];
        if (c == CR) continue;
        if (c == CTRL_Z) {
            // Nothing from here on is data, now or after the rewind.
            in.at_end = true;
            in.pos = in.end;
            continue;
        }
        line[count++] = c;
        if (c == LF) break;
    }
    line[count] = '\0';
    return static_cast<long>(count);
}

void text_in_rewind_first_line(TextIn& in, const char* first_line, std::size_t count) {
    // pos never drops below the headroom, so the characters fit in front of it.
    in.pos -= count;
    std::memcpy(in.buffer + in.pos, first_line, count);
    in.eof = false;
}

}  // namespace cycalc
