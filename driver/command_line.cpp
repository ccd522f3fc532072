// Parsing the log argument.
#include "driver/command_line.h"

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

}  // namespace cycalc
