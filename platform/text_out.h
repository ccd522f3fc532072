// Text-mode output stream: every LF is written as CR LF; text is collected in a buffer and written
// out in large pieces, or at once when the stream is unbuffered (a terminal).
#pragma once

#include <cstddef>

namespace cycalc {

// Where the bytes go: a file descriptor by default, any function in tests.
// `write` returns the count of bytes taken (at least 1) or -1 on a write error.
struct ByteSink {
    long (*write)(void* context, const char* data, std::size_t size);
    void* context;
};

inline constexpr std::size_t TEXT_OUT_BLOCK = std::size_t{1} << 17;

struct TextOut {
    ByteSink sink;
    bool unbuffered;   // write out after every call (a terminal shows each line at once)
    bool failed;       // some write has failed: the text of that write is lost
    std::size_t used;  // bytes waiting in `buffer`
    char buffer[TEXT_OUT_BLOCK];
};

void text_out_init(TextOut& out, ByteSink sink, bool unbuffered);

// Appends `size` bytes of text, each LF as CR LF.
void text_out_write(TextOut& out, const char* text, std::size_t size);

// Appends one line: `size` bytes whose only LF is the last one (the LF goes out as CR LF).
void text_out_write_line(TextOut& out, const char* line, std::size_t size);

// Writes out what is buffered. Returns false when this or any earlier write has failed.
bool text_out_flush(TextOut& out);

// For a line rendered in place: room for `max` characters (max < TEXT_OUT_BLOCK) at the end of the
// buffer, which is written out first when it has less.
inline char* text_out_line_room(TextOut& out, std::size_t max) {
    if (TEXT_OUT_BLOCK - out.used < max + 1) text_out_flush(out);
    return out.buffer + out.used;
}

// The line just rendered at text_out_line_room(): `size` characters whose last is its only LF,
// which goes out as CR LF.
inline void text_out_commit_line(TextOut& out, std::size_t size) {
    char* const at = out.buffer + out.used;
    at[size - 1] = '\r';
    at[size] = '\n';
    out.used += size + 1;
    if (out.unbuffered) text_out_flush(out);
}

}  // namespace cycalc
