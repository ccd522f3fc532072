// Fuzz target: the whole measurement pass over arbitrary bytes as the log, in each encoding, with
// and without a detail file, checking what must hold for every log.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "driver/measurement_pass.h"
#include "support/memory_io.h"

namespace {

using namespace cycalc;

struct PassRun {
    PassOutcome outcome;
    std::string summary;
    std::string detail;
    RunStats stats;
};

PassRun run(const std::string& log, std::size_t piece, ScanFormat format, bool long_mode, bool with_detail,
            bool plain_lines_fast = true) {
    // The streams are large: made once, initialised for every run.
    static const auto in = std::make_unique<TextIn>();
    static const auto reader = std::make_unique<LogReader>();
    static const auto out = std::make_unique<TextOut>();
    static const auto detail = std::make_unique<TextOut>();
    testing::MemorySource source{log, piece};
    text_in_init(*in, source.source());
    log_reader_init(*reader, *in, format, long_mode);
    reader->plain_lines_fast = plain_lines_fast;
    testing::MemorySink summary_sink;
    testing::MemorySink detail_sink;
    text_out_init(*out, summary_sink.sink(), false);
    text_out_init(*detail, detail_sink.sink(), false);
    PassState state{};
    const PassOutcome outcome = run_measurement_pass(*reader, state, *out, with_detail ? detail.get() : nullptr);
    if (!text_out_flush(*out) || !text_out_flush(*detail)) std::abort();
    return PassRun{outcome, summary_sink.data, detail_sink.data, state.stats};
}

void require(bool condition) {
    if (!condition) std::abort();
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Matches d.dde+XX (or e-XX, or three exponent digits) at `p`; returns the end or nullptr.
const char* sci_field(const char* p) {
    if (!is_digit(p[0]) || p[1] != '.' || !is_digit(p[2]) || !is_digit(p[3]) || p[4] != 'e') return nullptr;
    if (p[5] != '+' && p[5] != '-') return nullptr;
    p += 6;
    int digits = 0;
    while (is_digit(*p)) ++p, ++digits;
    return digits >= 2 && digits <= 3 ? p : nullptr;
}

const char* literal(const char* p, const char* text) {
    const std::size_t n = std::strlen(text);
    return p != nullptr && std::strncmp(p, text, n) == 0 ? p + n : nullptr;
}

const char* hex_field(const char* p) {
    if (p == nullptr) return nullptr;
    int n = 0;
    while (is_hex(*p)) ++p, ++n;
    return n >= 4 && n <= 8 ? p : nullptr;
}

const char* decimal_field(const char* p) {
    if (p == nullptr) return nullptr;
    const char* start = p;
    while (*p == ' ') ++p;
    int n = 0;
    while (is_digit(*p)) ++p, ++n;
    return n >= 1 && n <= 10 && p - start >= 5 ? p : nullptr;
}

const char* sci(const char* p) { return p == nullptr ? nullptr : sci_field(p); }

// Counts the lines of `text`, each checked against its shape and its CR LF end.
std::size_t count_lines(const std::string& text, bool summary) {
    std::size_t lines = 0;
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end) {
        const char* q =
            summary ? sci(literal(
                          sci(literal(decimal_field(literal(hex_field(literal(p, "ID: ")), " (")), ") MIPs (avg,peak): ")), " "))
                    : sci(literal(sci(literal(hex_field(literal(p, "state_ID: 0x")), ", CPU cycles/call: ")), ", MIPs: "));
        q = literal(q, "\r\n");
        require(q != nullptr);
        p = q;
        ++lines;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte chooses the encoding and the detail file, the second the size of the pipe's
    // reads (1 to 256 bytes), so that lines, CR LF pairs, Ctrl-Z and NUL fall on every side of a
    // read's end and of the batch read's 64-byte masks.
    const std::uint8_t mode = data[0];
    const std::string log(reinterpret_cast<const char*>(data) + 2, size - 2);
    const ScanFormat format = (mode & 1) ? ScanFormat::decimal : ScanFormat::hexadecimal;
    const bool long_mode = (mode & 2) != 0;
    const bool with_detail = (mode & 4) != 0;
    const std::size_t piece = 1 + std::size_t{data[1]};

    const PassRun whole = run(log, std::string::npos, format, long_mode, with_detail);
    // A pipe hands the bytes over in small pieces and cannot seek: the same report.
    const PassRun piped = run(log, piece, format, long_mode, with_detail);
    require(whole.summary == piped.summary && whole.detail == piped.detail && whole.outcome == piped.outcome);
    // The plain-line fast path reads exactly what the line reads give.
    const PassRun exact = run(log, std::string::npos, format, long_mode, with_detail, false);
    require(whole.summary == exact.summary && whole.detail == exact.detail && whole.outcome == exact.outcome);

    const std::size_t summaries = count_lines(whole.summary, true);
    const std::size_t details = count_lines(whole.detail, false);
    require(with_detail || details == 0);
    if (whole.outcome == PassOutcome::log_at_end) require(summaries == 0);
    // A run needs a record: every summary line but the first closes on a record that was counted.
    if (with_detail) require(summaries <= details + 1 && (details == 0 || summaries >= 1));
    for (float v : {whole.stats.sample_count, whole.stats.mips_sum, whole.stats.mips_peak}) {
        require(std::isfinite(v) && v >= 0.0f);
    }
    return 0;
}
