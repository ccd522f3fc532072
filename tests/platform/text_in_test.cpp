// Line reads of the text-mode input stream: CR removal, Ctrl-Z, NUL, limits and the indicator.
#include "platform/text_in.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/memory_io.h"

namespace cycalc {
namespace {

using testing::MemorySource;

// One read as a test sees it: the characters stored ("FAIL" when the read failed) and the indicator.
struct Read {
    std::string text;
    bool eof;
    bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Read& read) {
    return os << "{\"" << read.text << "\" (" << read.text.size() << "), eof=" << read.eof << "}";
}

// Reads until the first failure (included), at most 20 reads.
std::vector<Read> read_lines(MemorySource& source, std::size_t limit) {
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    std::vector<Read> reads;
    for (int i = 0; i < 20; ++i) {
        char line[100];
        const long count = text_in_read_line(*in, line, limit);
        if (count < 0) {
            reads.push_back({"FAIL", in->eof});
            break;
        }
        reads.push_back({std::string(line, static_cast<std::size_t>(count)), in->eof});
    }
    return reads;
}

struct LineCase {
    const char* name;
    std::string data;
    std::size_t limit;
    std::vector<Read> expected;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineReads : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReads, GiveTheLinesAndIndicatorOfTheRules) {
    const LineCase& c = GetParam();
    // Whole blocks, and one byte per read as a slow pipe gives them: the same reads.
    for (std::size_t piece : {std::string::npos, std::size_t{1}, std::size_t{3}}) {
        MemorySource source{c.data, piece};
        EXPECT_EQ(read_lines(source, c.limit), c.expected) << "piece " << piece;
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    TextConventions, LineReads,
    ::testing::Values(
        LineCase{"empty", "", 19, {{"FAIL", true}}},
        LineCase{"lf_ended", "12\n34\n", 19, {{"12\n", false}, {"34\n", false}, {"FAIL", true}}},
        LineCase{"unterminated_last", "12\n34", 19, {{"12\n", false}, {"34", true}, {"FAIL", true}}},
        LineCase{"cr_anywhere", "1\r2\r\n\r3\r\r4\r\n", 19, {{"12\n", false}, {"34\n", false}, {"FAIL", true}}},
        LineCase{"cr_alone_ends_nothing", "1\r2\r3", 19, {{"123", true}, {"FAIL", true}}},
        LineCase{"trailing_crs_reach_the_end", "5\n6\r\r", 19, {{"5\n", false}, {"6", true}, {"FAIL", true}}},
        LineCase{"ctrl_z_ends_data",
                 "1\n2\x1a"
                 "3\n4\n",
                 19,
                 {{"1\n", false}, {"2", true}, {"FAIL", true}}},
        LineCase{"ctrl_z_first",
                 "\x1a"
                 "1\n",
                 19,
                 {{"FAIL", true}}},
        LineCase{"ctrl_z_after_lf", "1\n\x1a", 19, {{"1\n", false}, {"FAIL", true}}},
        LineCase{"nul_is_stored",
                 "1\0"
                 "2\n3\n"s,
                 19,
                 {{"1\0"
                   "2\n"s,
                   false},
                  {"3\n", false},
                  {"FAIL", true}}},
        LineCase{"seventeen_fit", "12345678901234567\n", 19, {{"12345678901234567\n", false}, {"FAIL", true}}},
        LineCase{
            "eighteen_leave_the_lf", "123456789012345678\n", 19, {{"123456789012345678", false}, {"\n", false}, {"FAIL", true}}},
        LineCase{"long_line_in_pieces",
                 "1234567890123456789012345678901234567890\n",
                 19,
                 {{"123456789012345678", false}, {"901234567890123456", false}, {"7890\n", false}, {"FAIL", true}}},
        LineCase{"limit_stops_before_the_end", "123456789012345678", 19, {{"123456789012345678", false}, {"FAIL", true}}},
        LineCase{"crs_do_not_count",
                 "1\r2\r3\r4\r5\r6\r7\r8\r9\r0\r1\r2\r3\r4\r5\r6\r7\r\n",
                 19,
                 {{"12345678901234567\n", false}, {"FAIL", true}}},
        LineCase{"header_limit",
                 std::string(78, 'a') + "\nb",
                 79,
                 {{std::string(78, 'a'), false}, {"\n", false}, {"b", true}, {"FAIL", true}}}),
    [](const ::testing::TestParamInfo<LineCase>& param_info) { return std::string(param_info.param.name); });

TEST(LineReads, FailedReadLeavesTheBufferAsItWas) {
    MemorySource source{"7\n"};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    char line[20] = "untouched";
    ASSERT_EQ(text_in_read_line(*in, line, 19), 2);
    std::strcpy(line, "untouched");
    EXPECT_EQ(text_in_read_line(*in, line, 19), -1);
    EXPECT_STREQ(line, "untouched");
}

TEST(LineReads, ReadErrorFailsTheReadInProgressAndEveryLaterOne) {
    // The source fails after "12\n3": the line "34" that needs more fails, though it holds a character.
    MemorySource source{"12\n34\n56\n", std::string::npos, 4};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    char line[20];
    EXPECT_EQ(text_in_read_line(*in, line, 19), 3);
    EXPECT_FALSE(in->error);
    EXPECT_EQ(text_in_read_line(*in, line, 19), -1);
    EXPECT_TRUE(in->eof);
    EXPECT_TRUE(in->error);
    EXPECT_EQ(text_in_read_line(*in, line, 19), -1);
}

TEST(LineReads, RewindReadsTheFirstLineAgainAndClearsTheIndicator) {
    // The first line is read with the header limit, then read again as value lines; CRs and a NUL
    // in it come back exactly as the first read saw them.
    const std::string data =
        "1\r2\0"
        "3456789012345678901234\r\n5\n"s;
    for (std::size_t piece : {std::string::npos, std::size_t{1}}) {
        MemorySource source{data, piece};
        auto in = std::make_unique<TextIn>();
        text_in_init(*in, source.source());
        char first[80];
        const long count = text_in_read_line(*in, first, 79);
        ASSERT_EQ(count, 26);
        text_in_rewind_first_line(*in, first, static_cast<std::size_t>(count));
        char line[20];
        EXPECT_EQ(text_in_read_line(*in, line, 19), 18);
        EXPECT_EQ(std::string(line, 18),
                  "12\0"
                  "345678901234567"s);
        EXPECT_EQ(text_in_read_line(*in, line, 19), 8);
        EXPECT_STREQ(line, "8901234\n");
        EXPECT_EQ(text_in_read_line(*in, line, 19), 2);
        EXPECT_STREQ(line, "5\n");
        EXPECT_EQ(text_in_read_line(*in, line, 19), -1);
    }
}

TEST(LineReads, LinesCrossingBlockBoundariesAreWhole) {
    // Enough lines to need several blocks; every line comes back whole.
    std::string data;
    for (int i = 0; i < 40000; ++i) data += std::to_string(i) + "\r\n";
    MemorySource source{data};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    char line[20];
    for (int i = 0; i < 40000; ++i) {
        ASSERT_GT(text_in_read_line(*in, line, 19), 0);
        ASSERT_EQ(std::string(line), std::to_string(i) + "\n");
    }
    EXPECT_EQ(text_in_read_line(*in, line, 19), -1);
}

}  // namespace
}  // namespace cycalc
