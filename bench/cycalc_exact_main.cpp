// cycalc with the general line reads only: the benchmark's reference for the fast path's output.
#include "driver/cycalc.h"
#include "platform/files.h"

int main(int argc, char** argv) {
    using namespace cycalc;
    static PlatformFile output = standard_output();
    static TextOut out;
    text_out_init(out, file_sink(output), is_terminal(output));
    return run_cycalc(argc, argv, out, native_file_system(), false);
}
