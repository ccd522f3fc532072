// The summary and detail lines, whole, and their CR LF ends on a text stream.
#include "report/report_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
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

// The line formats are the oracle: the C library renders them exactly, halfway cases to even.
std::string printf_summary(std::uint32_t state, float average, float peak) {
    char line[REPORT_LINE_MAX];
    const int length = std::snprintf(line, sizeof line, SUMMARY_LINE_FORMAT, static_cast<unsigned long>(state),
                                     static_cast<unsigned long>(state), static_cast<double>(average), static_cast<double>(peak));
    return std::string(line, static_cast<std::size_t>(length));
}

std::string printf_detail(std::uint32_t state, std::uint32_t cycles) {
    char line[REPORT_LINE_MAX];
    const int length = std::snprintf(line, sizeof line, DETAIL_LINE_FORMAT, static_cast<unsigned long>(state),
                                     static_cast<double>(cycles), static_cast<double>(cycles) * 400.0);
    return std::string(line, static_cast<std::size_t>(length));
}

TEST(ReportLines, EqualTheirFormatTextsRenderedByTheCLibrary) {
    const std::uint32_t states[] = {0, 1, 26, 0x1651, 0xffff, 0x10000, 99999, 100000, 0xffffffff};
    const float loads[] = {0.0f,
                           1.0f,
                           400.0f,
                           1125.0f,
                           1135.0f,
                           998.5f,
                           999.5f,
                           99950.0f,
                           0.125f,
                           2.4e-05f,
                           533333.3125f,
                           4314999808.0f,
                           1333.3333740234375f,
                           2.674999952316284f,
                           1.7179869e12f};
    const std::uint32_t cycles[] = {0, 1, 3, 1125, 2812, 28125, 10787500, 16777217, 4294967295u};
    for (std::uint32_t state : states) {
        for (float load : loads) {
            SCOPED_TRACE(std::to_string(state) + " " + std::to_string(load));
            EXPECT_EQ(summary(state, load, load), printf_summary(state, load, load));
        }
        for (std::uint32_t count : cycles) EXPECT_EQ(detail(state, count), printf_detail(state, count)) << count;
    }
    std::mt19937 random(2024);
    for (int i = 0; i < 20000; ++i) {
        const auto state = static_cast<std::uint32_t>(random() >> (random() % 32));
        const auto count = static_cast<std::uint32_t>(random() >> (random() % 32));
        const float load = static_cast<float>(static_cast<double>(count) * 400.0) / static_cast<float>(1 + random() % 1000);
        ASSERT_EQ(summary(state, load, static_cast<float>(count)), printf_summary(state, load, static_cast<float>(count)));
        ASSERT_EQ(detail(state, count), printf_detail(state, count));
    }
}

TEST(ReportLines, SummaryLines) {
    EXPECT_EQ(summary(1, 1200, 1600), "ID: 0001 (    1) MIPs (avg,peak): 1.20e+03 1.60e+03\n");
    EXPECT_EQ(summary(5713, 466.6666564941406f, 1200), "ID: 1651 ( 5713) MIPs (avg,peak): 4.67e+02 1.20e+03\n");
    EXPECT_EQ(summary(0, 0, 0), "ID: 0000 (    0) MIPs (avg,peak): 0.00e+00 0.00e+00\n");
    EXPECT_EQ(summary(0xffffffff, 4314999808.0f, 0.125f), "ID: ffffffff (4294967295) MIPs (avg,peak): 4.31e+09 1.25e-01\n");
    EXPECT_EQ(summary(5713, 1, 1).size(), 52u);  // 51 characters and the LF
}

TEST(ReportLines, DetailLinesCarryTheExactProduct) {
    EXPECT_EQ(detail(1, 3), "state_ID: 0x0001, CPU cycles/call: 3.00e+00, MIPs: 1.20e+03\n");
    EXPECT_EQ(detail(65536, 10787500), "state_ID: 0x10000, CPU cycles/call: 1.08e+07, MIPs: 4.32e+09\n");
    EXPECT_EQ(detail(0, 0), "state_ID: 0x0000, CPU cycles/call: 0.00e+00, MIPs: 0.00e+00\n");
    EXPECT_EQ(detail(0xffffffff, 4294967295u), "state_ID: 0xffffffff, CPU cycles/call: 4.29e+09, MIPs: 1.72e+12\n");
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
