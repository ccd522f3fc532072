// The summary and detail lines, whole, and their CR LF ends on a text stream.
#include "report/report_lines.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/memory_io.h"

namespace cycalc {
namespace {

std::string summary(std::uint32_t state, float average, float peak) {
    char line[REPORT_LINE_MAX];
    return std::string(line, render_summary_line(line, state, average, peak));
}

std::string detail(std::uint32_t state, std::uint32_t cycles) {
    char line[REPORT_LINE_MAX];
    return std::string(line, render_detail_line(line, state, cycles, static_cast<double>(cycles) * 400.0));
}

TEST(ReportLines, SummaryLines) {
    EXPECT_EQ(summary(1, 1200, 1600), "ID: 0001 (    1) MIPs (avg,peak): 1.20e+03 1.60e+03\n");
    EXPECT_EQ(summary(5713, 466.6666564941406f, 1200), "ID: 1651 ( 5713) MIPs (avg,peak): 4.67e+02 1.20e+03\n");
    EXPECT_EQ(summary(0, 0, 0), "ID: 0000 (    0) MIPs (avg,peak): 0.00e+00 0.00e+00\n");
    EXPECT_EQ(summary(0xffffffff, 4314999808.0f, 0.125f),
              "ID: ffffffff (4294967295) MIPs (avg,peak): 4.31e+09 1.25e-01\n");
    EXPECT_EQ(summary(5713, 1, 1).size(), 52u);  // 51 characters and the LF
}

TEST(ReportLines, DetailLinesCarryTheExactProduct) {
    EXPECT_EQ(detail(1, 3), "state_ID: 0x0001, CPU cycles/call: 3.00e+00, MIPs: 1.20e+03\n");
    EXPECT_EQ(detail(65536, 10787500), "state_ID: 0x10000, CPU cycles/call: 1.08e+07, MIPs: 4.32e+09\n");
    EXPECT_EQ(detail(0, 0), "state_ID: 0x0000, CPU cycles/call: 0.00e+00, MIPs: 0.00e+00\n");
    EXPECT_EQ(detail(0xffffffff, 4294967295u),
              "state_ID: 0xffffffff, CPU cycles/call: 4.29e+09, MIPs: 1.72e+12\n");
    EXPECT_EQ(detail(1, 1).size(), 60u);  // 59 characters and the LF
}

TEST(ReportLines, WrittenLinesEndInCrLf) {
    testing::MemorySink sink;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), false);
    write_summary_line(*out, 2, 24000, 28000);
    write_detail_line(*out, 2, 70, 28000);
    ASSERT_TRUE(text_out_flush(*out));
    EXPECT_EQ(sink.data,
              "ID: 0002 (    2) MIPs (avg,peak): 2.40e+04 2.80e+04\r\n"
              "state_ID: 0x0002, CPU cycles/call: 7.00e+01, MIPs: 2.80e+04\r\n");
}

}  // namespace
}  // namespace cycalc
