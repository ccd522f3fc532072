// The one place for what standard C++20 does not give: forced inlining, the SSE2 intrinsics, a byte
// swap and a little-endian load, and the refusal of builds whose float arithmetic is too wide.
#pragma once

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cstring>

// Forced inlining where the compiler has it; plain `inline` elsewhere.
#if defined(_MSC_VER) && !defined(__clang__)
#define CYCALC_ALWAYS_INLINE __forceinline
#elif defined(__GNUC__) || defined(__clang__)
#define CYCALC_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define CYCALC_ALWAYS_INLINE inline
#endif

// SSE2 blocks are compiled where the processor has SSE2 (every x86-64) unless the build asks for the
// plain paths alone (CYCALC_NO_SIMD). Each such block has a plain twin after it.
#if !defined(CYCALC_NO_SIMD) && (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define CYCALC_SSE2 1
#include <emmintrin.h>
#endif

// The statistics are single-precision values rounded after every operation. A compiler that keeps
// float intermediates in a wider format (x87 arithmetic, FLT_EVAL_METHOD 1 or 2) prints other
// averages, so such a build must not exist.
#if defined(FLT_EVAL_METHOD)
#if FLT_EVAL_METHOD != 0
#error "cycalc needs float arithmetic without excess precision (FLT_EVAL_METHOD 0): on 32-bit x86 build with -msse2 -mfpmath=sse"
#endif
#elif !(defined(_M_X64) || defined(_M_ARM64))
#error "cycalc cannot tell whether this compiler rounds every float operation to single precision"
#endif

namespace cycalc {

// Reverses the byte order: 0x0102030405060708 -> 0x0807060504030201. Compilers turn this into one
// instruction where there is one.
constexpr std::uint64_t byte_swap64(std::uint64_t x) {
    x = (x & 0x00ff00ff00ff00ffULL) << 8 | ((x >> 8) & 0x00ff00ff00ff00ffULL);
    x = (x & 0x0000ffff0000ffffULL) << 16 | ((x >> 16) & 0x0000ffff0000ffffULL);
    return x << 32 | x >> 32;
}

// Eight bytes as a number whose lowest byte is the first one, on every processor:
// "0x12abcd" (30 78 31 32 61 62 63 64) -> 0x6463626132317830.
CYCALC_ALWAYS_INLINE std::uint64_t load_little_endian64(const char* bytes) {
    std::uint64_t x;
    std::memcpy(&x, bytes, sizeof x);
    if constexpr (std::endian::native == std::endian::big) x = byte_swap64(x);
    return x;
}

}  // namespace cycalc
