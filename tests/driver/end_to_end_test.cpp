// What only a POSIX system can show of the built program: pipes, symbolic links, /dev/full,
// /proc/self/mem, file names with a line feed, a terminal. The cases that hold on every platform are
// the table in tests/e2e/end_to_end.py.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/worked_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Result {
    int status;
    std::string out;
};

std::string read_file(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void write_file(const fs::path& path, const std::string& data) {
    std::ofstream file(path, std::ios::binary);
    file << data;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/cycalc-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs cycalc in `dir` with the arguments; standard input from `input` (a path) or /dev/null,
    // standard output to `output` (a path) or captured.
    Result run(const std::vector<std::string>& args, const std::string& input = "/dev/null", const std::string& output = "") {
        const fs::path captured = dir / ".stdout";
        const pid_t child = ::fork();
        if (child == 0) {
            if (::chdir(dir.c_str()) != 0) ::_exit(120);
            const int in = ::open(input.c_str(), O_RDONLY);
            const int out = ::open(output.empty() ? captured.c_str() : output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (in < 0 || out < 0) ::_exit(121);
            ::dup2(in, 0);
            ::dup2(out, 1);
            std::vector<char*> argv{const_cast<char*>(CYCALC_BINARY)};
            for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(CYCALC_BINARY, argv.data());
            ::_exit(122);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ""};
        if (output.empty()) result.out = read_file(captured);
        fs::remove(captured);
        return result;
    }

    fs::path dir;
};

using cycalc::testing::WORKED_DETAIL;
using cycalc::testing::WORKED_LOG;
using cycalc::testing::WORKED_SUMMARY;

std::string info(const std::string& name, const std::string& format = "%lx") {
    return "file name: " + name + "\r\nformat: " + format + "\r\n";
}

TEST_F(EndToEnd, PipeReadsLikeAFile) {
    // A first line that is not a header is read again after the rewind, from a pipe too.
    const std::string log =
        "1\r\n64\n1\nc8\n1\n12c\n2\n32\n2\n46\x1a"
        "trailing garbage";
    write_file(dir / "file.log", log);
    const Result from_file = run({"file.log", "file.txt"});
    const Result from_pipe = run({"/dev/stdin", "pipe.txt"}, (dir / "file.log").string());
    EXPECT_EQ(from_file.out, info("file.log") + WORKED_SUMMARY);
    EXPECT_EQ(from_pipe.out, info("/dev/stdin") + WORKED_SUMMARY);
    EXPECT_EQ(read_file(dir / "pipe.txt"), read_file(dir / "file.txt"));
    EXPECT_EQ(from_pipe.status, 0);
    // A real pipe, through a shell.
    const std::string command =
        "cat '" + (dir / "file.log").string() + "' | '" CYCALC_BINARY "' /dev/stdin > '" + (dir / "piped.out").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(read_file(dir / "piped.out"), from_pipe.out);
}

TEST_F(EndToEnd, DetailFileThatIsTheLogIsRefused) {
    fs::create_directory(dir / "sub");
    write_file(dir / "run.log", WORKED_LOG);
    fs::create_symlink("run.log", dir / "link.log");
    fs::create_hard_link(dir / "run.log", dir / "hard.log");
    for (const std::string& outfile :
         {"run.log"s, "./run.log"s, "sub/../run.log"s, "link.log"s, "hard.log"s, (dir / "run.log").string()}) {
        const Result result = run({"run.log,d", outfile});
        EXPECT_EQ(result.status, 1) << outfile;
        EXPECT_EQ(result.out, info("run.log", "%ld.%*d") + "Output file " + outfile + " is the input file\r\n");
        EXPECT_EQ(read_file(dir / "run.log"), WORKED_LOG);
    }
}

TEST_F(EndToEnd, FailedWritesGiveStatus255) {
    write_file(dir / "run.log", WORKED_LOG);
    // The detail file on a full device: every summary line still arrives.
    const Result detail_full = run({"run.log", "/dev/full"});
    EXPECT_EQ(detail_full.status, 255);
    EXPECT_EQ(detail_full.out, info("run.log") + WORKED_SUMMARY);
    // Standard output on a full device; the detail file is still complete.
    const Result out_full = run({"run.log", "out.txt"}, "/dev/null", "/dev/full");
    EXPECT_EQ(out_full.status, 255);
    EXPECT_EQ(read_file(dir / "out.txt"), WORKED_DETAIL);
    // A failure status is not hidden behind it.
    EXPECT_EQ(run({"missing.log"}, "/dev/null", "/dev/full").status, 1);
    EXPECT_EQ(run({}, "/dev/null", "/dev/full").status, 1);
}

TEST_F(EndToEnd, ReadErrorIsReported) {
    // /proc/self/mem cannot be read from its start: the read fails with an I/O error.
    const Result result = run({"/proc/self/mem", "out.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, info("/proc/self/mem") + "Can not read input file /proc/self/mem\r\n");
    EXPECT_EQ(read_file(dir / "out.txt"), "");
}

TEST_F(EndToEnd, FileNamesArePrintedAsTheyStand) {
    const std::string long_name(200, 'n');
    for (const std::string& name :
         {"%s%n%d.log"s, "my log.txt"s, " lead\tblank"s, "-dash"s, "line\nbreak"s, "caf\xc3\xa9"s, long_name}) {
        write_file(dir / name, WORKED_LOG);
        const Result result = run({name + ",x"});
        EXPECT_EQ(result.status, 0) << name;
        std::string shown = name;
        if (name == "line\nbreak") shown = "line\r\nbreak";
        EXPECT_EQ(result.out, info(shown) + WORKED_SUMMARY) << name;
        const Result missing = run({name + ".missing"});
        EXPECT_EQ(missing.out, "Can not open input file " + shown + ".missing\r\n");
    }
}

TEST_F(EndToEnd, TerminalShowsEachLineAtOnce) {
    // The log is a FIFO that we feed: the summary line of the first run must reach the terminal
    // while cycalc still waits for more of the log.
    ASSERT_EQ(::mkfifo((dir / "log.fifo").c_str(), 0600), 0);
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(slave, 1);
        ::execl(CYCALC_BINARY, CYCALC_BINARY, (dir / "log.fifo").c_str(), static_cast<char*>(nullptr));
        ::_exit(122);
    }
    ::close(slave);
    const int fifo = ::open((dir / "log.fifo").c_str(), O_WRONLY);
    ASSERT_GE(fifo, 0);
    const std::string log = "1\n10\n1\n20\n2\n30\n";
    ASSERT_EQ(::write(fifo, log.data(), log.size()), static_cast<ssize_t>(log.size()));
    const std::string line = "ID: 0001 (    1) MIPs (avg,peak): 1.28e+04 1.28e+04\r\n";
    std::string shown;
    pollfd wait{master, POLLIN, 0};
    while (shown.find(line) == std::string::npos && ::poll(&wait, 1, 10000) == 1) {
        char bytes[256];
        const ssize_t got = ::read(master, bytes, sizeof bytes);
        if (got <= 0) break;
        shown.append(bytes, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(shown, info((dir / "log.fifo").string()) + line);
    ::close(fifo);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(master);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Runs cycalc with standard error on a new pseudo-terminal (or on a file when `terminal` is false)
// and standard output on a file; the log comes through a FIFO, fed with `first`, then after `pause`
// with `rest`. Returns what reached standard error.
std::string run_with_stderr(const std::filesystem::path& dir, const std::string& first, const std::string& rest,
                            std::chrono::milliseconds pause, bool terminal) {
    const std::string fifo = (dir / "progress.fifo").string();
    ::unlink(fifo.c_str());
    if (::mkfifo(fifo.c_str(), 0600) != 0) return "no fifo";
    int master = -1;
    int slave = -1;
    if (terminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return "no pty";
    const std::string err_file = (dir / "stderr.txt").string();
    const std::string out_file = (dir / "report.txt").string();
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = terminal ? slave : ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execl(CYCALC_BINARY, CYCALC_BINARY, fifo.c_str(), static_cast<char*>(nullptr));
        ::_exit(122);
    }
    if (terminal) ::close(slave);
    const int feed = ::open(fifo.c_str(), O_WRONLY);
    std::string shown;
    auto drain = [&](int timeout_ms) {
        if (!terminal) return;
        pollfd wait{master, POLLIN, 0};
        while (::poll(&wait, 1, timeout_ms) == 1) {
            char bytes[4096];
            const ssize_t got = ::read(master, bytes, sizeof bytes);
            if (got <= 0) break;
            shown.append(bytes, static_cast<std::size_t>(got));
        }
    };
    if (::write(feed, first.data(), first.size()) != static_cast<ssize_t>(first.size())) return "short write";
    std::this_thread::sleep_for(pause);
    std::size_t at = 0;
    while (at < rest.size()) {
        const ssize_t put = ::write(feed, rest.data() + at, std::min<std::size_t>(65536, rest.size() - at));
        if (put <= 0) break;
        at += static_cast<std::size_t>(put);
        drain(0);
    }
    ::close(feed);
    int status = 0;
    ::waitpid(child, &status, 0);
    drain(200);
    if (terminal) ::close(master);
    if (!terminal) shown = read_file(err_file);
    return shown;
}

TEST_F(EndToEnd, ProgressLineOnATerminalOnly) {
    // A log long enough for a few updates: its first part, a pause past the one-second mark, and
    // the rest read through a FIFO (whose size is not known: bytes read and speed are shown).
    std::string log = "1651 progress\n";
    for (int i = 0; i < 400000; ++i) log += "0x000" + std::to_string(i / 5000 % 3) + "\n0x1" + std::to_string(i % 1000) + "\n";
    const std::string first = log.substr(0, 1 << 20);
    const std::string rest = log.substr(1 << 20);
    write_file(dir / "whole.log", log);
    const Result plain = run({"whole.log"});

    const std::string shown = run_with_stderr(dir, first, rest, std::chrono::milliseconds(1300), true);
    EXPECT_NE(shown.find("\rcycalc: "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" read, "), std::string::npos) << shown;
    // Erased at the end: the last thing on the terminal is a line of blanks between two CRs.
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.back(), '\r');
    const std::size_t erase = shown.rfind('\r', shown.size() - 2);
    EXPECT_EQ(shown.substr(erase + 1, shown.size() - erase - 2).find_first_not_of(' '), std::string::npos) << shown;
    // Standard output is the report, byte for byte, the file name aside.
    std::string report = read_file(dir / "report.txt");
    const std::string fifo_name = (dir / "progress.fifo").string();
    report.replace(report.find(fifo_name), fifo_name.size(), "whole.log");
    EXPECT_EQ(report, plain.out);

    // Not on a file, and not for a run of less than a second.
    EXPECT_EQ(run_with_stderr(dir, first, rest, std::chrono::milliseconds(1300), false), "");
    EXPECT_EQ(run_with_stderr(dir, first, rest, std::chrono::milliseconds(0), true), "");
}

}  // namespace
