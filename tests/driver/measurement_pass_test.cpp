// The measurement pass: runs, statistics in single precision, detail lines and the log's end.
#include "driver/measurement_pass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "support/memory_io.h"

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

PassResult run_pass(MemorySource& source, ScanFormat format = ScanFormat::hexadecimal, bool long_mode = false) {
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, format, long_mode);
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

const char* const WORKED_LOG =
    "1651 log of run 7\n0x0001\n0x0064\n0x0001\n0x00C8\n0x0001\n0x012C\n0x0002\n0x0032\n0x0002\n0x0046\n";

TEST(MeasurementPass, WorkedExample) {
    const std::string summary =
        "ID: 0001 (    1) MIPs (avg,peak): 1.00e+05 1.20e+05\r\n"
        "ID: 0002 (    2) MIPs (avg,peak): 2.40e+04 2.80e+04\r\n";
    const std::string detail =
        "state_ID: 0x0001, CPU cycles/call: 2.00e+02, MIPs: 8.00e+04\r\n"
        "state_ID: 0x0001, CPU cycles/call: 3.00e+02, MIPs: 1.20e+05\r\n"
        "state_ID: 0x0001, CPU cycles/call: 5.00e+01, MIPs: 2.00e+04\r\n"
        "state_ID: 0x0002, CPU cycles/call: 7.00e+01, MIPs: 2.80e+04\r\n";
    const std::string log = WORKED_LOG;
    // With and without the final line end, and with CR LF ends: the same lines.
    for (const std::string& variant : {log, log.substr(0, log.size() - 1), std::string("1651 log of run 7\r\n1\r\n64\r\n1\r\nc8\r\n1\r\n12c\r\n2\r\n32\r\n2\r\n46")}) {
        const PassResult result = run_pass(variant);
        EXPECT_EQ(result.outcome, PassOutcome::complete);
        EXPECT_EQ(result.summary, summary);
        EXPECT_EQ(result.detail, detail);
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
        PassCase{"one_record_unterminated", "7\n10", HEX, false,
                 "ID: 0007 (    7) MIPs (avg,peak): 0.00e+00 0.00e+00\r\n", ""},
        PassCase{"one_value", "7\n", HEX, false, "", ""},
        PassCase{"header_only", "1651 header line\n", HEX, false, "", ""},
        PassCase{"odd_value_count", "1\n10\n1\n20\n2\n", HEX, false,
                 "ID: 0001 (    1) MIPs (avg,peak): 1.28e+04 1.28e+04\r\n",
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
    [](const ::testing::TestParamInfo<PassCase>& info) { return std::string(info.param.name); });

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
        const PassResult result = run_pass(log);
        EXPECT_EQ(result.outcome, PassOutcome::log_at_end) << log;
        EXPECT_EQ(result.summary, "");
        EXPECT_EQ(result.detail, "");
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
