// The measurement pass: runs, statistics in single precision, detail lines and the log's end.
#include "driver/measurement_pass.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <memory>
#include <string>

#include "support/memory_io.h"
#include "support/worked_fixture.h"

namespace cycalc {
namespace {

using testing::MemorySink;
using testing::MemorySource;

struct PassResult {
    PassOutcome outcome;
    std::string summary;
    std::string detail;
    PassState state;
};

PassResult run_pass(MemorySource& source, ScanFormat format = ScanFormat::hexadecimal, bool long_mode = false,
                    bool plain_lines_fast = true) {
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, format, long_mode);
    reader->plain_lines_fast = plain_lines_fast;
    MemorySink summary_sink;
    MemorySink detail_sink;
    auto out = std::make_unique<TextOut>();
    auto detail = std::make_unique<TextOut>();
    text_out_init(*out, summary_sink.sink(), false);
    text_out_init(*detail, detail_sink.sink(), false);
    PassResult result{};
    result.outcome = run_measurement_pass(*reader, result.state, *out, detail.get());
    EXPECT_TRUE(text_out_flush(*out));
    EXPECT_TRUE(text_out_flush(*detail));
    result.summary = summary_sink.data;
    result.detail = detail_sink.data;
    return result;
}

PassResult run_pass(const std::string& data, ScanFormat format = ScanFormat::hexadecimal, bool long_mode = false) {
    MemorySource source{data};
    return run_pass(source, format, long_mode);
}

TEST(MeasurementPass, WorkedExample) {
    const std::string& log = testing::WORKED_LOG;
    // With and without the final line end, and with CR LF ends: the same lines.
    for (const std::string& variant :
         {log, log.substr(0, log.size() - 1),
          std::string("1651 log of run 7\r\n1\r\n64\r\n1\r\nc8\r\n1\r\n12c\r\n2\r\n32\r\n2\r\n46")}) {
        SCOPED_TRACE(variant);
        const PassResult result = run_pass(variant);
        EXPECT_EQ(result.outcome, PassOutcome::complete);
        EXPECT_EQ(result.summary, testing::WORKED_SUMMARY);
        EXPECT_EQ(result.detail, testing::WORKED_DETAIL);
        EXPECT_EQ(result.state.stats.sample_count, 2.0f);
        EXPECT_EQ(result.state.stats.mips_sum, 24000.0f);
        EXPECT_EQ(result.state.stats.mips_peak, 28000.0f);
    }
}

struct PassCase {
    const char* name;
    std::string log;
    ScanFormat format;
    bool long_mode;
    std::string summary;
    std::string detail;
};

void PrintTo(const PassCase& c, std::ostream* os) { *os << c.name; }

class PassCases : public ::testing::TestWithParam<PassCase> {};

TEST_P(PassCases, WriteTheLinesOfTheRules) {
    const PassCase& c = GetParam();
    const PassResult result = run_pass(c.log, c.format, c.long_mode);
    EXPECT_EQ(result.outcome, PassOutcome::complete);
    EXPECT_EQ(result.summary, c.summary);
    EXPECT_EQ(result.detail, c.detail);
}

constexpr auto HEX = ScanFormat::hexadecimal;
constexpr auto DEC = ScanFormat::decimal;

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PassCases,
    ::testing::Values(
        PassCase{"state_zero_at_the_end", "0\n1F4\n0\n3E8\n0\nBB8\n", HEX, false,
                 "ID: 0000 (    0) MIPs (avg,peak): 8.00e+05 1.20e+06\r\n",
                 "state_ID: 0x0000, CPU cycles/call: 1.00e+03, MIPs: 4.00e+05\r\n"
                 "state_ID: 0x0000, CPU cycles/call: 3.00e+03, MIPs: 1.20e+06\r\n"},
        PassCase{"state_zero_unterminated", "0\n500\n0\n1000\n0\n3000", DEC, false,
                 "ID: 0000 (    0) MIPs (avg,peak): 8.00e+05 1.20e+06\r\n",
                 "state_ID: 0x0000, CPU cycles/call: 1.00e+03, MIPs: 4.00e+05\r\n"
                 "state_ID: 0x0000, CPU cycles/call: 3.00e+03, MIPs: 1.20e+06\r\n"},
        PassCase{"single_precision_average", "5\n1\n5\n500\n5\n1000\n5\n2500\n", DEC, false,
                 "ID: 0005 (    5) MIPs (avg,peak): 5.33e+05 1.00e+06\r\n",
                 "state_ID: 0x0005, CPU cycles/call: 5.00e+02, MIPs: 2.00e+05\r\n"
                 "state_ID: 0x0005, CPU cycles/call: 1.00e+03, MIPs: 4.00e+05\r\n"
                 "state_ID: 0x0005, CPU cycles/call: 2.50e+03, MIPs: 1.00e+06\r\n"},
        PassCase{"change_at_the_second_record", "1\n10\n2\n20\n", HEX, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 0.00e+00 0.00e+00\r\n"
                 "ID: 0002 (    2) MIPs (avg,peak): 1.28e+04 1.28e+04\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 3.20e+01, MIPs: 1.28e+04\r\n"},
        PassCase{"one_record", "7\n10\n", HEX, false, "ID: 0007 (    7) MIPs (avg,peak): 0.00e+00 0.00e+00\r\n", ""},
        PassCase{"one_record_unterminated", "7\n10", HEX, false, "ID: 0007 (    7) MIPs (avg,peak): 0.00e+00 0.00e+00\r\n", ""},
        PassCase{"one_value", "7\n", HEX, false, "", ""}, PassCase{"header_only", "1651 header line\n", HEX, false, "", ""},
        PassCase{"odd_value_count", "1\n10\n1\n20\n2\n", HEX, false, "ID: 0001 (    1) MIPs (avg,peak): 1.28e+04 1.28e+04\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 3.20e+01, MIPs: 1.28e+04\r\n"},
        PassCase{"long_mode_low_half_only_at_the_end", "1\n0\n10\n0\n1\n0\n20\n0\n2\n", HEX, true,
                 "ID: 0001 (    1) MIPs (avg,peak): 1.28e+04 1.28e+04\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 3.20e+01, MIPs: 1.28e+04\r\n"},
        PassCase{"recurring_state_gets_a_new_run", "1\n1\n1\n2\n2\n3\n1\n4\n1\n5\n", HEX, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 8.00e+02 8.00e+02\r\n"
                 "ID: 0002 (    2) MIPs (avg,peak): 1.20e+03 1.20e+03\r\n"
                 "ID: 0001 (    1) MIPs (avg,peak): 1.80e+03 2.00e+03\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 2.00e+00, MIPs: 8.00e+02\r\n"
                 "state_ID: 0x0001, CPU cycles/call: 3.00e+00, MIPs: 1.20e+03\r\n"
                 "state_ID: 0x0002, CPU cycles/call: 4.00e+00, MIPs: 1.60e+03\r\n"
                 "state_ID: 0x0001, CPU cycles/call: 5.00e+00, MIPs: 2.00e+03\r\n"},
        PassCase{"top_bit_cycles_are_unsigned", "1\n0\n1\nffffffff\n", HEX, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 1.72e+12 1.72e+12\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 4.29e+09, MIPs: 1.72e+12\r\n"},
        // 10787500 cycles: the exact product 4315000000 is a halfway case (4.32e+09); its single
        // precision value 4314999808 is what the summary shows (4.31e+09).
        PassCase{"detail_product_is_exact", "1\n0\n1\n10787500\n", DEC, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 4.31e+09 4.31e+09\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 1.08e+07, MIPs: 4.32e+09\r\n"},
        PassCase{"decimal_with_fractions", "1.9\n100.5\n1.2\n200.7\n", DEC, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 8.00e+04 8.00e+04\r\n",
                 "state_ID: 0x0001, CPU cycles/call: 2.00e+02, MIPs: 8.00e+04\r\n"}),
    [](const ::testing::TestParamInfo<PassCase>& param_info) { return std::string(param_info.param.name); });

TEST(MeasurementPass, StatisticsRoundToSinglePrecision) {
    // 16777217 cycles: one rounding of the exact product gives 6710886912 (through a float of the
    // cycles it would be 6710886400).
    const PassResult twice = run_pass("1\n0\n1\n16777217\n1\n16777217\n", DEC);
    EXPECT_EQ(twice.state.stats.mips_peak, 6710886912.0f);
    EXPECT_EQ(twice.state.stats.mips_sum, 6710886912.0f);
    EXPECT_EQ(twice.state.stats.sample_count, 2.0f);
    const PassResult average = run_pass("5\n1\n5\n500\n5\n1000\n5\n2500\n", DEC);
    EXPECT_EQ(average.state.stats.mips_sum, 533333.3125f);
    EXPECT_EQ(average.state.stats.mips_peak, 1000000.0f);
    EXPECT_EQ(average.state.stats.sample_count, 3.0f);
}

TEST(MeasurementPass, LogAtItsEndAfterTheFirstLine) {
    for (const char* log : {"", "\x1a", "0x1234", "1651 header without line end"}) {
        SCOPED_TRACE(log);
        const PassResult result = run_pass(log);
        EXPECT_EQ(result.outcome, PassOutcome::log_at_end);
        EXPECT_EQ(result.summary, "");
        EXPECT_EQ(result.detail, "");
    }
}

// A log of a few runs in the given encoding, with the corners of the format dropped in at random.
std::string generated_log(std::mt19937& random, ScanFormat format, bool long_mode) {
    static const char* const PIECES[] = {"0x",
                                         "0X",
                                         "1651",
                                         "\n",
                                         "\r",
                                         "\r\n",
                                         "\x1a",
                                         " ",
                                         "\t",
                                         "-",
                                         "+",
                                         ".",
                                         "0",
                                         "f",
                                         "x",
                                         "ffffffff",
                                         "123456789abcdef01",
                                         "4294967295"};
    std::string log;
    if (random() % 2) log += random() % 2 ? "1651 generated log\n" : "0x1651\n";
    const std::uint32_t states[] = {0, 1, 2, 0x1651, static_cast<std::uint32_t>(random())};
    const int records = static_cast<int>(random() % 3000);
    char line[64];
    for (int i = 0; i < records; ++i) {
        const std::uint32_t state = states[(i / 37 + random() % 2) % 5];
        const std::uint32_t cycles = random() % 8 ? random() % 2000000 : static_cast<std::uint32_t>(random());
        for (std::uint32_t v : {state, cycles}) {
            if (long_mode) {
                std::snprintf(line, sizeof line, "0x%04X\n0x%04X\n", v & 0xffff, v >> 16);
            } else if (format == ScanFormat::decimal) {
                std::snprintf(line, sizeof line, random() % 4 ? "%u\n" : "%u.%u\n", v, v % 100);
            } else {
                std::snprintf(line, sizeof line, random() % 4 ? "0x%04X\n" : "%x\n", v);
            }
            log += line;
        }
    }
    const unsigned damage = random() % 4 == 0 ? 0 : random() % 30;
    for (unsigned i = 0; i < damage && !log.empty(); ++i) {
        log.insert(random() % log.size(), PIECES[random() % (sizeof PIECES / sizeof *PIECES)]);
    }
    if (random() % 3 == 0 && !log.empty()) log.pop_back();
    return log;
}

TEST(MeasurementPass, FastAndExactReadersAgreeOnGeneratedLogs) {
    std::mt19937 random(12345);
    for (int i = 0; i < 600; ++i) {
        const bool long_mode = i % 3 == 2;
        const ScanFormat format = i % 3 == 1 ? ScanFormat::decimal : ScanFormat::hexadecimal;
        const std::string log = generated_log(random, format, long_mode);
        MemorySource exact_source{log};
        const PassResult exact = run_pass(exact_source, format, long_mode, false);
        for (std::size_t piece : {std::string::npos, std::size_t{1}, std::size_t{7}, std::size_t{4093}}) {
            MemorySource source{log, piece};
            const PassResult fast = run_pass(source, format, long_mode, true);
            ASSERT_EQ(fast.summary, exact.summary) << "log " << i << " piece " << piece;
            ASSERT_EQ(fast.detail, exact.detail) << "log " << i << " piece " << piece;
        }
    }
}

// Serves "1\n1\n" endlessly up to a count of records, without holding the log in memory.
struct RepeatSource {
    std::uint64_t records_left;
    static long read(void* context, char* buffer, std::size_t size) {
        auto& self = *static_cast<RepeatSource*>(context);
        std::size_t put = 0;
        while (self.records_left > 0 && put + 4 <= size) {
            std::memcpy(buffer + put, "1\n1\n", 4);
            put += 4;
            --self.records_left;
        }
        return static_cast<long>(put);
    }
};

TEST(MeasurementPass, SampleCountStopsAt2To24) {
    RepeatSource repeat{16777216 + 1000};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, ByteSource{RepeatSource::read, &repeat});
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, ScanFormat::hexadecimal, false);
    MemorySink sink;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), false);
    PassState state{};
    run_measurement_pass(*reader, state, *out, nullptr);
    EXPECT_EQ(state.stats.sample_count, 16777216.0f);
    EXPECT_EQ(state.stats.mips_peak, 400.0f);
}

}  // namespace
}  // namespace cycalc
