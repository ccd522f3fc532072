// The log argument: its file-name part and its option suffixes ",d" and ",l".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log/log_format.h"

namespace cycalc {

struct LogArgument {
    std::string_view file_name;  // the text before the first comma, whole
    ScanFormat scan_format;
    bool long_mode;
};

LogArgument parse_log_argument(std::string_view argument);

// Splits a command line that the platform hands over as one text (Windows) into its arguments, the
// program's name first: at runs of blanks and tabs; a stretch in double quotes keeps its blanks and
// tabs and loses the quotes (it may adjoin other text, and "" alone is an empty argument); a
// backslash right before a double quote stands for the quote and opens or closes nothing; every
// other backslash stays. Nothing else is special: no wildcards are expanded.
std::vector<std::string> split_command_line(std::string_view line);

}  // namespace cycalc
