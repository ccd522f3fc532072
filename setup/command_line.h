// The command line both programs share: the log argument with its file-name part and its option
// suffixes ",d" and ",l", and the splitting of a command line handed over as one text.
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

// Each suffix counts wherever it stands, lower case only, and ",l" wins over ",d":
//   "log.txt"     -> log.txt, hexadecimal          "log.txt,d,l" -> log.txt, hexadecimal, long mode
//   "log.txt,d"   -> log.txt, decimal              "log.txt,dl"  -> log.txt, decimal
//   "log.txt,ld"  -> log.txt, hexadecimal, long    "run,d.log"   -> run, decimal
//   "log.txt,D"   -> log.txt, hexadecimal          ",d"          -> "" (no name), decimal
LogArgument parse_log_argument(std::string_view argument);

// Splits a command line that the platform hands over as one text (Windows) into its arguments, the
// program's name first: at runs of blanks and tabs; a stretch in double quotes keeps its blanks and
// tabs and loses the quotes (it may adjoin other text, and "" alone is an empty argument); a
// backslash right before a double quote stands for the quote and opens or closes nothing; every
// other backslash stays. Nothing else is special: no wildcards are expanded.
std::vector<std::string> split_command_line(std::string_view line);

}  // namespace cycalc
