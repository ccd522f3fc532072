// Fuzz target: the hexadecimal and decimal conversions and the long-mode join against a slow model
// built on the C library's strtoull.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "log/conversions.h"
#include "log/log_reader.h"
#include "support/memory_io.h"

namespace {

using namespace cycalc;

void require(bool condition) {
    if (!condition) std::abort();
}

// strtoull reads the same sign, prefix, digits and white space; past 64 bits it gives its maximum,
// where our conversion saturates to the largest or the smallest signed value instead.
std::uint32_t model(const char* text, int base) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const bool negative = *p == '-';
    errno = 0;
    const unsigned long long value = std::strtoull(text, nullptr, base);
    if (errno == ERANGE) return negative ? 0u : 0xffffffffu;
    return static_cast<std::uint32_t>(value);
}

std::uint32_t read_one_long_value(const std::string& low, const std::string& high) {
    testing::MemorySource source{low + "\n" + high + "\n"};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, ScanFormat::hexadecimal, true);
    const std::uint32_t value = read_log_value(*reader);
    require(!reader->end_of_input);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    require(convert_hexadecimal(text.c_str(), text.size()) == model(text.c_str(), 16));
    require(convert_decimal(text.c_str(), text.size()) == model(text.c_str(), 10));
    // The fast conversions of plain digit texts, where they answer, answer the same.
    char padded[32] = {};
    const std::size_t plain_length = std::min<std::size_t>(text.size(), 16);
    std::memcpy(padded, text.data(), plain_length);
    std::uint32_t value = 0;
    if (convert_plain_hexadecimal(padded, plain_length, value)) require(value == model(padded, 16));
    if (convert_plain_decimal(padded, plain_length, value)) require(value == model(padded, 10));

    // Long mode: two lines of at most 17 characters without CR, LF or Ctrl-Z, joined as text.
    std::string clean;
    for (char c : text) {
        if (c != '\n' && c != '\r' && c != '\x1a') clean += c;
    }
    const std::size_t split = clean.size() / 2;
    const std::string low = clean.substr(0, std::min<std::size_t>(split, 17));
    const std::string high = clean.substr(split, 17);
    const bool prefixed = low.size() >= 2 && low[0] == '0' && (low[1] == 'x' || low[1] == 'X');
    const std::string joined = high + (prefixed ? low.substr(2) : low) + "\n";
    require(read_one_long_value(low, high) == model(joined.c_str(), 16));
    return 0;
}
