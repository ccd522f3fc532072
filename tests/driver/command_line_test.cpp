// The log argument's file-name part and option suffixes.
#include "driver/command_line.h"

#include <gtest/gtest.h>

namespace cycalc {
namespace {

TEST(LogArgument, SuffixTable) {
    constexpr auto HEX = ScanFormat::hexadecimal;
    constexpr auto DEC = ScanFormat::decimal;
    const struct {
        const char* argument;
        const char* file_name;
        ScanFormat format;
        bool long_mode;
    } cases[] = {
        {"log.txt", "log.txt", HEX, false},      {"log.txt,d", "log.txt", DEC, false},
        {"log.txt,l", "log.txt", HEX, true},     {"log.txt,d,l", "log.txt", HEX, true},
        {"log.txt,l,d", "log.txt", HEX, true},   {"log.txt,ld", "log.txt", HEX, true},
        {"log.txt,dl", "log.txt", DEC, false},   {"log.txt,D", "log.txt", HEX, false},
        {"log.txt,x,d", "log.txt", DEC, false},  {"log.txt,", "log.txt", HEX, false},
        {"run,d.log", "run", DEC, false},        {"my log.txt,d", "my log.txt", DEC, false},
        {" log.txt\t,L", " log.txt\t", HEX, false}, {",d", "", DEC, false},
        {"", "", HEX, false},                    {"a,b,c,l", "a", HEX, true},
    };
    for (const auto& c : cases) {
        const LogArgument parsed = parse_log_argument(c.argument);
        EXPECT_EQ(parsed.file_name, c.file_name) << c.argument;
        EXPECT_EQ(parsed.scan_format, c.format) << c.argument;
        EXPECT_EQ(parsed.long_mode, c.long_mode) << c.argument;
    }
}

TEST(LogArgument, FormatTexts) {
    EXPECT_STREQ(scan_format_text(ScanFormat::hexadecimal), "%lx");
    EXPECT_STREQ(scan_format_text(ScanFormat::decimal), "%ld.%*d");
}

}  // namespace
}  // namespace cycalc
