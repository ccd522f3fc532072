// Fuzz target: format_sci against the C library's "%.2e" on every non-negative finite double.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "report/number_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    value = std::fabs(value);
    if (!std::isfinite(value)) return 0;
    char ours[32];
    const std::size_t length = cycalc::format_sci(value, ours);
    char model[64];
    const int model_length = std::snprintf(model, sizeof model, "%.2e", value);
    if (static_cast<int>(length) != model_length || std::memcmp(ours, model, length) != 0) std::abort();
    return 0;
}
