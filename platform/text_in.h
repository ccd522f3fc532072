// Text-mode input stream for the log: every CR is dropped, the first Ctrl-Z ends the data, and lines
// are read with a character limit, as the log format requires on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <bit>
#include <cstring>

#include "platform/portable.h"
#include "platform/progress.h"

namespace cycalc {

// Where the raw bytes come from: a file descriptor by default, any function in tests.
// `read` returns the count of bytes stored (0 at the end of the data) or -1 on a read error.
struct ByteSource {
    long (*read)(void* context, char* buffer, std::size_t size);
    void* context;
};

inline constexpr std::size_t TEXT_IN_BLOCK = std::size_t{1} << 17;
// Room before the block for the characters of the first line, which the rewind puts back.
inline constexpr std::size_t TEXT_IN_HEADROOM = 128;
// Room after the block, so that a line's bytes can be loaded 16 or 8 at a time near its end.
inline constexpr std::size_t TEXT_IN_PADDING = 64;
// The longest line that the fast way below takes, its LF not counted: a value line read whole.
inline constexpr std::size_t TEXT_IN_PLAIN_LINE_MAX = 17;
// What the fast way loads from a line's start: 16 bytes for the LF search (SSE2), or the search over
// TEXT_IN_PLAIN_LINE_MAX + 1 bytes; then the caller's 8-byte load at any point of the line.
inline constexpr std::size_t TEXT_IN_PLAIN_LOAD = TEXT_IN_PLAIN_LINE_MAX + 1 + 8;
// The fast way starts at most at `end`: every load it and its callers make stays in the buffer.
static_assert(TEXT_IN_PADDING >= TEXT_IN_PLAIN_LOAD && TEXT_IN_PADDING >= 16,
              "loads past a line's end must stay within the input buffer's padding");

// Below every read position: a rewind puts back fewer than TEXT_IN_HEADROOM characters.
inline constexpr std::size_t TEXT_IN_NOT_SCANNED = 0;

struct TextIn {
    ByteSource source;
    std::size_t pos;  // next raw byte in `buffer`
    std::size_t end;  // one past the last raw byte in `buffer`
    bool eof;         // the end-of-file indicator: set by the read that reaches the end of the data
    bool at_end;      // the data has ended (source exhausted, Ctrl-Z met, or a read error)
    bool error;       // the source reported a read error
    // Where the next CR, Ctrl-Z or NUL lies (or `end`): the bytes before it need none of the rules.
    // TEXT_IN_NOT_SCANNED (below every read position) until the fast way first needs it.
    std::size_t special;
    Progress* progress;  // told of every block read, when not null
    char buffer[TEXT_IN_HEADROOM + TEXT_IN_BLOCK + TEXT_IN_PADDING];
};

void text_in_init(TextIn& in, ByteSource source);

// Reads one line of at most limit - 1 characters into `line` (limit >= 2), LF included when it is
// reached, and terminates it with a NUL. Returns the count of characters stored, or -1 when the read
// fails: the data ended before any character was stored (`line` is then untouched), or the source
// reported an error.
long text_in_read_line(TextIn& in, char* line, std::size_t limit);

// Finds the next CR, Ctrl-Z or NUL from the read position on.
void text_in_rescan(TextIn& in);

// The fast way to the common line: when the next line is complete in the buffer, holds no CR,
// Ctrl-Z or NUL and has at most 17 characters before its LF (a value line read whole), returns its
// first character and its length (the LF included) and moves past it, exactly as a value line
// read would. Otherwise returns nullptr and leaves the stream as it was; the line read handles it.
// At least 8 bytes past the line can be loaded.
CYCALC_ALWAYS_INLINE const char* text_in_plain_line(TextIn& in, std::size_t& length) {
    if (in.special < in.pos) text_in_rescan(in);
    const char* const line = in.buffer + in.pos;
    std::size_t lf;
#if defined(CYCALC_SSE2)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
    if (mask != 0) {
        lf = static_cast<unsigned>(std::countr_zero(mask));
    } else
#endif
    {
        const void* found = std::memchr(line, '\n', TEXT_IN_PLAIN_LINE_MAX + 1);
        if (found == nullptr) return nullptr;
        lf = static_cast<std::size_t>(static_cast<const char*>(found) - line);
    }
    // The LF and everything before it must lie before the next special byte (which is at most `end`).
    if (in.pos + lf >= in.special) {
        // CR LF: the one special byte is a CR right before the LF. The CR is dropped by moving the
        // LF onto it in the buffer (these bytes are never read again).
        if (lf == 0 || in.special != in.pos + lf - 1 || line[lf - 1] != '\r' || in.pos + lf >= in.end) return nullptr;
        in.buffer[in.pos + lf - 1] = '\n';
        in.pos += lf + 1;
        length = lf;
        return line;
    }
    in.pos += lf + 1;
    length = lf + 1;
    return line;
}

// Rewinds the stream to its start right after its first line was read: `first_line` holds the
// `count` characters that read returned (count < TEXT_IN_HEADROOM). They are put back in front of
// what is still unread, which works for pipes as well as for files, and the indicator is cleared.
void text_in_rewind_first_line(TextIn& in, const char* first_line, std::size_t count);

}  // namespace cycalc
