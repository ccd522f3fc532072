// Entry point on POSIX systems: standard output through our own text stream, then the program.
#include "setup/program.h"

int main(int argc, char** argv) {
    using namespace cycalc;
    static PlatformFile output = standard_output();
    static TextOut out;
    text_out_init(out, file_sink(output), is_terminal(output));
    return program_main(argc, argv, out, native_file_system());
}
