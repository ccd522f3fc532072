// Text-mode output stream: LF to CR LF, buffering, and the record of a failed write.
#include "platform/text_out.h"

#include <cstring>

namespace cycalc {

namespace {

void write_out(TextOut& out) {
    const char* data = out.buffer;
    std::size_t left = out.used;
    out.used = 0;
    while (left > 0) {
        const long put = out.sink.write(out.sink.context, data, left);
        if (put <= 0) {
            out.failed = true;
            return;
        }
        data += put;
        left -= static_cast<std::size_t>(put);
    }
}

void append(TextOut& out, const char* data, std::size_t size) {
    if (size <= TEXT_OUT_BLOCK - out.used) {
        std::memcpy(out.buffer + out.used, data, size);
        out.used += size;
        return;
    }
    while (size > 0) {
        if (out.used == TEXT_OUT_BLOCK) write_out(out);
        std::size_t room = TEXT_OUT_BLOCK - out.used;
        std::size_t take = size < room ? size : room;
        std::memcpy(out.buffer + out.used, data, take);
        out.used += take;
        data += take;
        size -= take;
    }
}

}  // namespace

void text_out_init(TextOut& out, ByteSink sink, bool unbuffered) {
    out.sink = sink;
    out.unbuffered = unbuffered;
    out.failed = false;
    out.used = 0;
}

void text_out_write(TextOut& out, const char* text, std::size_t size) {
    const char* const stop = text + size;
    while (text < stop) {
        const void* found = std::memchr(text, '\n', static_cast<std::size_t>(stop - text));
        const char* lf = found ? static_cast<const char*>(found) : stop;
        append(out, text, static_cast<std::size_t>(lf - text));
        if (lf == stop) break;
        append(out, "\r\n", 2);
        text = lf + 1;
    }
    if (out.unbuffered) write_out(out);
}

void text_out_write_line(TextOut& out, const char* line, std::size_t size) {
    if (size + 1 <= TEXT_OUT_BLOCK - out.used) {
        char* const at = out.buffer + out.used;
        std::memcpy(at, line, size - 1);
        at[size - 1] = '\r';
        at[size] = '\n';
        out.used += size + 1;
    } else {
        append(out, line, size - 1);
        append(out, "\r\n", 2);
    }
    if (out.unbuffered) write_out(out);
}

bool text_out_flush(TextOut& out) {
    if (out.used > 0) write_out(out);
    return !out.failed;
}

}  // namespace cycalc
