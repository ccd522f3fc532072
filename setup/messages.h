// Printing the program's messages: user text (a file name) is printed as it stands, never used as
// a format.
#pragma once

#include <string_view>

#include "platform/text_out.h"

namespace cycalc {

inline void print(TextOut& out, std::string_view text) { text_out_write(out, text.data(), text.size()); }

inline void print_message(TextOut& out, std::string_view before, std::string_view argument, std::string_view after) {
    print(out, before);
    print(out, argument);
    print(out, after);
}

}  // namespace cycalc
