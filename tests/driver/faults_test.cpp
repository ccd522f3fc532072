// Faults of the files, injected through the file operations: a read error anywhere in the log, a
// write error on either output, a failing close. Each shows its status and that nothing else is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "driver/cycalc.h"
#include "support/memory_io.h"
#include "support/temp_dir.h"
#include "support/worked_fixture.h"

namespace cycalc {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t NEVER = std::string::npos;

// The faults of one run; the file operations below consult them.
struct Faults {
    std::size_t log_fails_after = NEVER;     // bytes the log serves before its read error
    std::size_t detail_fails_after = NEVER;  // bytes the detail file takes before its write error
    bool log_close_fails = false;
    // After the log's first read, its file is replaced by these bytes (cut short and grown again).
    std::string log_changes_to;
    std::filesystem::path log_path;
    std::size_t first_read = 0;  // what the first read served
    bool detail_close_fails = false;
    // Bookkeeping of the wrapped files.
    std::intptr_t detail_handle = -1;
    std::size_t log_served = 0;
    std::size_t detail_taken = 0;
    ByteSource log_source{};
    ByteSink detail_sink{};
} faults;

const FileSystem native = native_file_system();

long faulty_read(void*, char* buffer, std::size_t size) {
    if (faults.log_served >= faults.log_fails_after) return -1;
    if (size > faults.log_fails_after - faults.log_served) size = faults.log_fails_after - faults.log_served;
    const long got = faults.log_source.read(faults.log_source.context, buffer, size);
    if (got > 0 && faults.log_served == 0 && !faults.log_changes_to.empty()) {
        faults.first_read = static_cast<std::size_t>(got);
        std::filesystem::resize_file(faults.log_path, 0);
        std::ofstream(faults.log_path, std::ios::binary | std::ios::app) << faults.log_changes_to;
    }
    if (got > 0) faults.log_served += static_cast<std::size_t>(got);
    return got;
}

long faulty_write(void*, const char* data, std::size_t size) {
    if (faults.detail_taken >= faults.detail_fails_after) return -1;
    if (size > faults.detail_fails_after - faults.detail_taken) size = faults.detail_fails_after - faults.detail_taken;
    const long put = faults.detail_sink.write(faults.detail_sink.context, data, size);
    if (put > 0) faults.detail_taken += static_cast<std::size_t>(put);
    return put;
}

const FileSystem faulty{
    native.open_log_file,
    native.is_same_file,
    [](const char* name, PlatformFile& file) {
        const bool made = native.create_detail_file(name, file);
        faults.detail_handle = file.handle;
        return made;
    },
    [](PlatformFile& file) {
        const bool is_detail = file.handle == faults.detail_handle;
        const bool closed = native.close_file(file);
        return closed && !(is_detail ? faults.detail_close_fails : faults.log_close_fails);
    },
    native.file_size,
    [](PlatformFile& file) {
        faults.log_source = native.file_source(file);
        return ByteSource{faulty_read, nullptr};
    },
    [](PlatformFile& file) {
        faults.detail_sink = native.file_sink(file);
        return ByteSink{faulty_write, nullptr};
    },
};

struct Outcome {
    int status;
    std::string out;
    std::string detail;
};

class Faulty : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::make_temp_dir("cycalc-faults-");
        faults = Faults{};
    }
    void TearDown() override { fs::remove_all(dir); }

    void write_log(const std::string& name, const std::string& data) { std::ofstream(dir / name, std::ios::binary) << data; }

    // Runs cycalc in process with the faults set, standard output failing after `out_fails_after`.
    Outcome run(const std::string& log, bool with_detail, Faults set, std::size_t out_fails_after = NEVER) {
        faults = set;
        const std::string log_path = (dir / log).string();
        const std::string detail_path = (dir / "detail.txt").string();
        const char* argv[] = {"cycalc", log_path.c_str(), detail_path.c_str()};
        testing::MemorySink sink;
        sink.fail_at = out_fails_after;
        auto out = std::make_unique<TextOut>();
        text_out_init(*out, sink.sink(), false);
        Outcome result{run_cycalc(with_detail ? 3 : 2, argv, *out, faulty), sink.data, ""};
        {
            std::ifstream detail(detail_path, std::ios::binary);
            result.detail.assign(std::istreambuf_iterator<char>(detail), {});
        }  // closed before it is removed, as Windows requires
        fs::remove(detail_path);
        return result;
    }

    fs::path dir;
};

const std::string LOG = testing::WORKED_LOG + "0x0003\n0x0010\n0x0003\n0x0020\n";

TEST_F(Faulty, ReadErrorAnywhereEndsThePassLikeTheLogsEndAndIsReported) {
    write_log("run.log", LOG);
    for (std::size_t n = 0; n <= LOG.size(); ++n) {
        // The reads that end before the failing byte succeed: the same as a log cut after the last
        // line end before it.
        const std::size_t cut = LOG.rfind('\n', n == 0 ? 0 : n - 1);
        write_log("cut.log", n == 0 || cut == std::string::npos ? "" : LOG.substr(0, cut + 1));
        const Outcome cut_run = run("cut.log", true, Faults{});
        Faults set;
        set.log_fails_after = n;
        const Outcome failed = run("run.log", true, set);
        const std::string cut_name = (dir / "cut.log").string();
        const std::string run_name = (dir / "run.log").string();
        std::string expected = cut_run.out;
        expected.replace(expected.find(cut_name), cut_name.size(), run_name);
        expected += "Can not read input file " + run_name + "\r\n";
        EXPECT_EQ(failed.status, 1) << n;
        EXPECT_EQ(failed.out, expected) << n;
        EXPECT_EQ(failed.detail, cut_run.detail) << n;
    }
}

TEST_F(Faulty, DetailWriteErrorLosesOnlyWhatFollowsIt) {
    write_log("run.log", LOG);
    const Outcome whole = run("run.log", true, Faults{});
    ASSERT_EQ(whole.status, 0);
    for (std::size_t n = 0; n < whole.detail.size(); n += 7) {
        Faults set;
        set.detail_fails_after = n;
        const Outcome failed = run("run.log", true, set);
        EXPECT_EQ(failed.status, 255) << n;
        EXPECT_EQ(failed.out, whole.out) << n;
        EXPECT_EQ(failed.detail, whole.detail.substr(0, n)) << n;
    }
}

TEST_F(Faulty, StandardOutputWriteErrorLosesOnlyWhatFollowsIt) {
    write_log("run.log", LOG);
    const Outcome whole = run("run.log", true, Faults{});
    for (std::size_t n = 0; n < whole.out.size(); n += 5) {
        const Outcome failed = run("run.log", true, Faults{}, n);
        EXPECT_EQ(failed.status, 255) << n;
        EXPECT_EQ(failed.out, whole.out.substr(0, n)) << n;
        EXPECT_EQ(failed.detail, whole.detail) << n;
    }
}

TEST_F(Faulty, TheLastCloseGivesTheResult) {
    write_log("run.log", LOG);
    Faults detail_close;
    detail_close.detail_close_fails = true;
    EXPECT_EQ(run("run.log", true, detail_close).status, 255);
    Faults log_close;
    log_close.log_close_fails = true;
    EXPECT_EQ(run("run.log", true, log_close).status, 0);  // the detail file's close is the last
    EXPECT_EQ(run("run.log", false, log_close).status, 255);
    // A log at its end after its first line ends the program at once, whatever the closes say.
    write_log("empty.log", "");
    EXPECT_EQ(run("empty.log", true, detail_close).status, 0);
}

TEST_F(Faulty, LogChangingWhileReadGivesTheReportOfTheBytesRead) {
    // A log cut short and grown again between two reads of its first block: the program reads on at
    // its offset and reports exactly the bytes it was served, as if they had been one file.
    std::string log;
    for (int i = 0; i < 40000; ++i)
        log += "0x000" + std::to_string(i / 1000 % 4) + "\n0x0" + std::to_string(100 + i % 900) + "\n";
    const std::string changed = log.substr(0, log.size() / 3) + log.substr(7, log.size() / 2);
    write_log("moving.log", log);
    Faults set;
    set.log_changes_to = changed;
    set.log_path = dir / "moving.log";
    const Outcome moved = run("moving.log", true, set);
    ASSERT_GT(faults.first_read, 0u);
    ASSERT_LT(faults.first_read, changed.size());
    write_log("served.log", log.substr(0, faults.first_read) + changed.substr(faults.first_read));
    const Outcome served = run("served.log", true, Faults{});
    std::string expected = served.out;
    const std::string served_name = (dir / "served.log").string();
    expected.replace(expected.find(served_name), served_name.size(), (dir / "moving.log").string());
    EXPECT_EQ(moved.status, 0);
    EXPECT_EQ(moved.out, expected);
    EXPECT_EQ(moved.detail, served.detail);
}

}  // namespace
}  // namespace cycalc
