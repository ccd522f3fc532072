// What an executable runs once the platform's entry point has its arguments and standard output:
// cycalc and cycalc-plot each define it, and share the entry points of every platform.
#pragma once

#include "platform/files.h"
#include "platform/text_out.h"

namespace cycalc {

int program_main(int argc, const char* const* argv, TextOut& out, const FileSystem& fs);

}  // namespace cycalc
