// The header line and the values of the log, in the three encodings.
#include "log/log_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/memory_io.h"

namespace cycalc {
namespace {

using namespace std::string_literals;
using testing::MemorySource;

struct Encoding {
    ScanFormat format;
    bool long_mode;
};
constexpr Encoding HEX{ScanFormat::hexadecimal, false};
constexpr Encoding DEC{ScanFormat::decimal, false};
constexpr Encoding LONG{ScanFormat::hexadecimal, true};

// What a reader makes of a log: whether the header step found it at its end, then every value up
// to the failing read (which gives 0 and raises end_of_input, and is not listed).
struct Reading {
    bool at_end = false;
    std::vector<std::uint32_t> values;
    bool operator==(const Reading&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Reading& r) {
    os << "{at_end=" << r.at_end << " values=";
    for (auto v : r.values) os << std::hex << "0x" << v << ' ';
    return os << "}";
}

Reading read_log(const std::string& data, Encoding encoding, std::size_t piece = std::string::npos,
                 bool plain_lines_fast = true) {
    MemorySource source{data, piece};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, encoding.format, encoding.long_mode);
    reader->plain_lines_fast = plain_lines_fast;
    Reading reading;
    reading.at_end = skip_log_header(*reader);
    if (reading.at_end) return reading;
    for (int i = 0; i < 50; ++i) {
        const std::uint32_t value = read_log_value(*reader);
        if (reader->end_of_input) {
            EXPECT_EQ(value, 0u);
            EXPECT_TRUE(in->eof);
            break;
        }
        reading.values.push_back(value);
    }
    return reading;
}

struct ReaderCase {
    const char* name;
    std::string data;
    Encoding encoding;
    Reading expected;
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

class LogReading : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LogReading, FollowsTheFormat) {
    const ReaderCase& c = GetParam();
    for (bool fast : {true, false}) {
        EXPECT_EQ(read_log(c.data, c.encoding, std::string::npos, fast), c.expected) << "fast " << fast;
        // A pipe that hands over one byte at a time reads the same, the rewind included.
        EXPECT_EQ(read_log(c.data, c.encoding, 1, fast), c.expected) << "fast " << fast;
    }
}

const std::string LINE_78_WITH_MARK = "header 1651 " + std::string(66, '-');

INSTANTIATE_TEST_SUITE_P(
    Header, LogReading,
    ::testing::Values(ReaderCase{"empty", "", HEX, {true, {}}},
                      ReaderCase{"ctrl_z_first",
                                 "\x1a"
                                 "1\n2\n",
                                 HEX,
                                 {true, {}}},
                      ReaderCase{"one_unterminated_line", "0x1234", HEX, {true, {}}},
                      ReaderCase{"header_of_11", "0x00001651\n5\n6\n", HEX, {false, {5, 6}}},
                      ReaderCase{"short_line_with_mark_is_a_value", "0x1651\n5\n", HEX, {false, {0x1651, 5}}},
                      ReaderCase{"ten_characters_is_a_value", "abc1651xy\n5\n", HEX, {false, {0xabc1651, 5}}},
                      ReaderCase{"crs_do_not_count", "abc1651x\r\r\n5\n", HEX, {false, {0xabc1651, 5}}},
                      ReaderCase{"cr_lf_header", "1651 log line\r\n7\r\n", HEX, {false, {7}}},
                      ReaderCase{"mark_anywhere", "log of run 1651\n7\n", HEX, {false, {7}}},
                      ReaderCase{"no_mark", "log of run 1650\n7\n", HEX, {false, {0, 7}}},
                      ReaderCase{"nul_cuts_the_length", "1651\0xxxxxxxxxx\n7\n"s, HEX, {false, {0x1651, 7}}},
                      ReaderCase{"nul_hides_the_mark",
                                 "xxxxxxxxxx\0"
                                 "1651\n7\n"s,
                                 HEX,
                                 {false, {0, 7}}},
                      ReaderCase{"header_of_78_leaves_its_lf", LINE_78_WITH_MARK + "\n7\n", HEX, {false, {0, 7}}},
                      ReaderCase{"unterminated_78", LINE_78_WITH_MARK, HEX, {false, {}}},
                      ReaderCase{"unterminated_77", LINE_78_WITH_MARK.substr(1), HEX, {true, {}}},
                      ReaderCase{
                          "long_first_value_line_in_pieces", "123456789012345678123\n", HEX, {false, {0xffffffff, 0x123}}}),
    [](const ::testing::TestParamInfo<ReaderCase>& param_info) { return std::string(param_info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Values, LogReading,
    ::testing::Values(
        ReaderCase{"hex_prefixes", "1A2B\n0x1a2b\n-0x10\n0X0x5\n", HEX, {false, {0x1a2b, 0x1a2b, 0xfffffff0, 5}}},
        ReaderCase{"hex_empty_prefix", "0x\n 0x\n0\n", HEX, {false, {0, 0, 0}}},
        ReaderCase{"hex_eighteen_then_empty", "123456789abcdef012\n", HEX, {false, {0xffffffff, 0}}},
        ReaderCase{"decimal", "1234.56\n-5\n4294967296\n+5\n- 5\n", DEC, {false, {1234, 4294967291u, 0, 5, 0}}},
        ReaderCase{"decimal_after_prefix", "0x10\n 0x10\n", DEC, {false, {10, 0}}},
        ReaderCase{"unterminated_last", "1\n2", HEX, {false, {1, 2}}},
        ReaderCase{"ctrl_z_ends",
                   "1\n2\n\x1a"
                   "3\n",
                   HEX,
                   {false, {1, 2}}},
        ReaderCase{"crs_in_values", "1\r2\r\n3\r4\r\n", HEX, {false, {0x12, 0x34}}},
        ReaderCase{"nul_ends_the_text",
                   "12\0"
                   "34\n5\n"s,
                   HEX,
                   {false, {0x12, 5}}},
        ReaderCase{"long_halves", "0x5678\n0x1234\n0x0012\n0x0001\n0x12\n0x1\n", LONG, {false, {0x12345678, 0x00010012, 0x112}}},
        ReaderCase{"long_without_prefixes", "5678\n1234\n", LONG, {false, {0x12345678}}},
        ReaderCase{"long_empty_high", "0x5\n\n", LONG, {false, {5}}},
        ReaderCase{"long_odd_line_count", "0x5678\n0x1234\n0x0001\n", LONG, {false, {0x12345678}}},
        ReaderCase{"long_unterminated", "0x5678\n0x1234", LONG, {false, {0x12345678}}},
        ReaderCase{"long_join_kept_whole", "2345\n00000000000000001\n", LONG, {false, {0x12345}}},
        ReaderCase{"long_join_saturates", "1\n123456789012345678\n", LONG, {false, {0xffffffff}}},
        ReaderCase{"long_low_with_blank", " 0x5678\n0x1234\n", LONG, {false, {0x1234}}},
        ReaderCase{"long_join_is_text", "10\n1\n", LONG, {false, {0x110}}},
        // A NUL cuts the low line's text before its LF: "0x03000" joins as five digits.
        ReaderCase{"long_low_cut_by_nul",
                   "0x03000\0\x05"
                   "5\n10\n"s,
                   LONG,
                   {false, {0x1003000}}}),
    [](const ::testing::TestParamInfo<ReaderCase>& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace cycalc
