// The log argument's file-name part and option suffixes.
#include "setup/command_line.h"

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
        {"log.txt", "log.txt", HEX, false},
        {"log.txt,d", "log.txt", DEC, false},
        {"log.txt,l", "log.txt", HEX, true},
        {"log.txt,d,l", "log.txt", HEX, true},
        {"log.txt,l,d", "log.txt", HEX, true},
        {"log.txt,ld", "log.txt", HEX, true},
        {"log.txt,dl", "log.txt", DEC, false},
        {"log.txt,D", "log.txt", HEX, false},
        {"log.txt,x,d", "log.txt", DEC, false},
        {"log.txt,", "log.txt", HEX, false},
        {"run,d.log", "run", DEC, false},
        {"my log.txt,d", "my log.txt", DEC, false},
        {" log.txt\t,L", " log.txt\t", HEX, false},
        {",d", "", DEC, false},
        {"", "", HEX, false},
        {"a,b,c,l", "a", HEX, true},
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

TEST(CommandLineText, SplitsAsTheRulesSay) {
    using Arguments = std::vector<std::string>;
    const struct {
        const char* line;
        Arguments arguments;
    } cases[] = {
        {"cycalc", {"cycalc"}},
        {"cycalc log.txt out.txt", {"cycalc", "log.txt", "out.txt"}},
        {"  cycalc \t log.txt\t\tout.txt  ", {"cycalc", "log.txt", "out.txt"}},
        {"cycalc \"my log.txt,d\"", {"cycalc", "my log.txt,d"}},
        {"cycalc my\" log \"txt", {"cycalc", "my log txt"}},
        {"cycalc \"\" out", {"cycalc", "", "out"}},
        {"cycalc a\"\"b", {"cycalc", "ab"}},
        {"cycalc \"tab\there\"", {"cycalc", "tab\there"}},
        {"cycalc say\\\"hi", {"cycalc", "say\"hi"}},
        {"cycalc \"a \\\" b\"", {"cycalc", "a \" b"}},
        {"cycalc C:\\dir\\log.txt", {"cycalc", "C:\\dir\\log.txt"}},
        {"cycalc two\\\\\\\"x", {"cycalc", "two\\\\\"x"}},
        {"cycalc \\\\server\\share", {"cycalc", "\\\\server\\share"}},
        {"cycalc *.log ?.txt", {"cycalc", "*.log", "?.txt"}},
        {"cycalc \"open quote", {"cycalc", "open quote"}},
        {"\"C:\\Program Files\\cycalc.exe\" log", {"C:\\Program Files\\cycalc.exe", "log"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_command_line(c.line), c.arguments) << c.line;
}

}  // namespace
}  // namespace cycalc
