// Text-mode input stream: the byte-level rules of the log's text conventions and line reads.
#include "platform/text_in.h"

#include <bit>
#include <cstring>

#include "platform/portable.h"

namespace cycalc {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char CTRL_Z = '\x1a';

bool is_special(char c) { return c == CR || c == CTRL_Z || c == '\0'; }

// The first CR, Ctrl-Z or NUL at or after `from`, or `end`.
std::size_t find_special(const TextIn& in, std::size_t from) {
    const char* p = in.buffer + from;
    const char* const stop = in.buffer + in.end;
#if defined(CYCALC_SSE2)
    const __m128i cr = _mm_set1_epi8(CR);
    const __m128i ctrl_z = _mm_set1_epi8(CTRL_Z);
    const __m128i nul = _mm_setzero_si128();
    for (; stop - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, ctrl_z)), _mm_cmpeq_epi8(bytes, nul));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return static_cast<std::size_t>(p - in.buffer) + static_cast<unsigned>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; p < stop; ++p) {
        if (is_special(*p)) break;
    }
    return static_cast<std::size_t>(p - in.buffer);
}

// Fetches the next block; false when the data has ended (for good: later calls read nothing more).
bool refill(TextIn& in) {
    if (in.at_end) return false;
    const long got = in.source.read(in.source.context, in.buffer + TEXT_IN_HEADROOM, TEXT_IN_BLOCK);
    if (got <= 0) {
        in.at_end = true;
        in.error = got < 0;
        in.pos = in.end = in.special = TEXT_IN_HEADROOM;
        return false;
    }
    // The clock is looked at once per block, never per line.
    if (in.progress != nullptr) progress_advance(*in.progress, static_cast<std::uint64_t>(got), progress_clock_ns());
    in.pos = TEXT_IN_HEADROOM;
    in.end = TEXT_IN_HEADROOM + static_cast<std::size_t>(got);
    in.special = TEXT_IN_NOT_SCANNED;  // looked for when the fast way first needs it
    return true;
}

}  // namespace

void text_in_init(TextIn& in, ByteSource source) {
    in.source = source;
    in.progress = nullptr;
    // Loads past the data see defined bytes.
    std::memset(in.buffer, 0, sizeof in.buffer);
    in.pos = in.end = in.special = TEXT_IN_HEADROOM;
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
            in.pos = in.special = in.end;
            continue;
        }
        line[count++] = c;
        if (c == LF) break;
    }
    line[count] = '\0';
    return static_cast<long>(count);
}

void text_in_rescan(TextIn& in) { in.special = find_special(in, in.pos); }

void text_in_rewind_first_line(TextIn& in, const char* first_line, std::size_t count) {
    // pos never drops below the headroom, so the characters fit in front of it.
    in.pos -= count;
    std::memcpy(in.buffer + in.pos, first_line, count);
    in.special = TEXT_IN_NOT_SCANNED;
    in.eof = false;
}

}  // namespace cycalc
