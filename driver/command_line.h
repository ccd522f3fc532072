// The log argument: its file-name part and its option suffixes ",d" and ",l".
#pragma once

#include <string_view>

#include "log/log_format.h"

namespace cycalc {

struct LogArgument {
    std::string_view file_name;  // the text before the first comma, whole
    ScanFormat scan_format;
    bool long_mode;
};

LogArgument parse_log_argument(std::string_view argument);

}  // namespace cycalc
