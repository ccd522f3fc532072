// The structural view of 64 bytes of text: one bit per byte for the line feeds, the carriage returns,
// and the other bytes that the text conventions treat specially (Ctrl-Z, NUL). Bit i is byte i.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/portable.h"

namespace cycalc {

struct ByteMasks {
    std::uint64_t line_feeds;
    std::uint64_t carriage_returns;
    std::uint64_t ends;  // Ctrl-Z (the end of the data) or NUL (the end of a line's text)
};

// The plain way, byte by byte: the reference, and the path of every processor without SSE2.
//   "0x1\n\r\n\x1a" + 57 x '7' -> line_feeds 0b101000, carriage_returns 0b10000, ends 0b1000000
inline ByteMasks byte_masks_plain(const char* bytes) {
    ByteMasks masks{0, 0, 0};
    for (unsigned i = 0; i < 64; ++i) {
        const char c = bytes[i];
        masks.line_feeds |= std::uint64_t{c == '\n'} << i;
        masks.carriage_returns |= std::uint64_t{c == '\r'} << i;
        masks.ends |= std::uint64_t{c == '\x1a' || c == '\0'} << i;
    }
    return masks;
}

#if defined(CYCALC_SSE2)
// Four 16-byte compares per kind, their top bits gathered into one 64-bit mask.
CYCALC_ALWAYS_INLINE ByteMasks byte_masks_sse2(const char* bytes) {
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i ctrl_z = _mm_set1_epi8('\x1a');
    const __m128i nul = _mm_setzero_si128();
    ByteMasks masks{0, 0, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        const auto feeds = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        const auto returns = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        const auto ends =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, ctrl_z), _mm_cmpeq_epi8(v, nul))));
        masks.line_feeds |= std::uint64_t{feeds} << (16 * i);
        masks.carriage_returns |= std::uint64_t{returns} << (16 * i);
        masks.ends |= std::uint64_t{ends} << (16 * i);
    }
    return masks;
}
#endif

// The 64 bytes from `bytes` on must be readable.
CYCALC_ALWAYS_INLINE ByteMasks byte_masks(const char* bytes) {
#if defined(CYCALC_SSE2)
    return byte_masks_sse2(bytes);
#else
    return byte_masks_plain(bytes);
#endif
}

}  // namespace cycalc
