// Text-mode input stream for the log: every CR is dropped, the first Ctrl-Z ends the data, and lines
// are read with a character limit, as the log format requires on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

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

struct TextIn {
    ByteSource source;
    std::size_t pos;   // next raw byte in `buffer`
    std::size_t end;   // one past the last raw byte in `buffer`
    bool eof;          // the end-of-file indicator: set by the read that reaches the end of the data
    bool at_end;       // the data has ended (source exhausted, Ctrl-Z met, or a read error)
    bool error;        // the source reported a read error
    char buffer[TEXT_IN_HEADROOM + TEXT_IN_BLOCK];
};

void text_in_init(TextIn& in, ByteSource source);

// Reads one line of at most limit - 1 characters into `line` (limit >= 2), LF included when it is
// reached, and terminates it with a NUL. Returns the count of characters stored, or -1 when the read
// fails: the data ended before any character was stored (`line` is then untouched), or the source
// reported an error.
long text_in_read_line(TextIn& in, char* line, std::size_t limit);

// Rewinds the stream to its start right after its first line was read: `first_line` holds the
// `count` characters that read returned (count < TEXT_IN_HEADROOM). They are put back in front of
// what is still unread, which works for pipes as well as for files, and the indicator is cleared.
void text_in_rewind_first_line(TextIn& in, const char* first_line, std::size_t count);

}  // namespace cycalc
