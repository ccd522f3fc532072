// Entry point on Windows: the command line as Windows hands it over, one UTF-16 text, split by our
// own rules (not the C runtime's) into UTF-8 arguments, then the same program as everywhere.
#define WIN32_LEAN_AND_MEAN
#define NOGDI
#define NOMINMAX
#include <windows.h>

#include <string>
#include <vector>

#include "setup/command_line.h"
#include "setup/program.h"
#include "platform/files.h"

namespace {

std::string to_utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size - 1));
    return utf8;
}

}  // namespace

int main() {
    using namespace cycalc;
    static PlatformFile output = standard_output();
    static TextOut out;
    text_out_init(out, file_sink(output), is_terminal(output));
    const std::vector<std::string> arguments = split_command_line(to_utf8(GetCommandLineW()));
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    return program_main(static_cast<int>(arguments.size()), argv.data(), out, native_file_system());
}
