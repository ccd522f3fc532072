// cycalc's own program: the report.
#include "driver/cycalc.h"
#include "setup/program.h"

namespace cycalc {

int program_main(int argc, const char* const* argv, TextOut& out, const FileSystem& fs) {
    return run_cycalc(argc, argv, out, fs);
}

}  // namespace cycalc
