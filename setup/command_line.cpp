// The log argument and the splitting of a one-text command line.
#include "setup/command_line.h"

namespace cycalc {

LogArgument parse_log_argument(std::string_view argument) {
    LogArgument parsed{argument.substr(0, argument.find(',')), ScanFormat::hexadecimal, false};
    // Each suffix counts wherever it stands in the whole argument; ",l" wins over ",d".
    if (argument.find(",d") != std::string_view::npos) parsed.scan_format = ScanFormat::decimal;
    if (argument.find(",l") != std::string_view::npos) {
        parsed.scan_format = ScanFormat::hexadecimal;
        parsed.long_mode = true;
    }
    return parsed;
}

std::vector<std::string> split_command_line(std::string_view line) {
    std::vector<std::string> arguments;
    std::string argument;
    bool in_argument = false;  // an argument has begun (a quote pair alone begins one too)
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
            argument += '"';
            in_argument = true;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            in_argument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (in_argument) arguments.push_back(argument);
            argument.clear();
            in_argument = false;
        } else {
            argument += c;
            in_argument = true;
        }
    }
    if (in_argument) arguments.push_back(argument);
    return arguments;
}

}  // namespace cycalc
