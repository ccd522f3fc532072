// The progress line: when it shows, how often, what it says, and that it is erased.
#include "platform/progress.h"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_io.h"

namespace cycalc {
namespace {

constexpr std::int64_t MS = 1'000'000;

std::string text_at(const Progress& progress, std::int64_t now_ns) {
    char text[128];
    return std::string(text, progress_text(progress, now_ns, text, sizeof text));
}

TEST(Progress, ShowsAfterASecondAtMostTenTimesASecondAndIsErased) {
    testing::MemorySink terminal;
    Progress progress;
    progress_init(progress, true, terminal.sink(), "cycalc", 1000, 0);
    progress_advance(progress, 100, 500 * MS);
    EXPECT_EQ(terminal.data, "");  // a short run shows nothing
    progress_advance(progress, 150, 1000 * MS);
    EXPECT_EQ(terminal.data, "\rcycalc: 25% read, about 3 s left");
    progress_advance(progress, 250, 1050 * MS);  // too soon after the last one
    EXPECT_EQ(terminal.data, "\rcycalc: 25% read, about 3 s left");
    progress_advance(progress, 0, 1100 * MS);
    EXPECT_EQ(terminal.data, "\rcycalc: 25% read, about 3 s left\rcycalc: 50% read, about 1 s left");
    progress_end(progress);
    const std::string erase = "\r" + std::string(std::string("cycalc: 50% read, about 1 s left").size(), ' ') + "\r";
    EXPECT_EQ(terminal.data.substr(terminal.data.size() - erase.size()), erase);
    const std::size_t before = terminal.data.size();
    progress_end(progress);  // nothing more to erase
    EXPECT_EQ(terminal.data.size(), before);
}

TEST(Progress, ALongerLineIsBlankedByTheNextOne) {
    testing::MemorySink terminal;
    Progress progress;
    progress_init(progress, true, terminal.sink(), "cycalc", 1000, 0);
    progress_advance(progress, 1, 1000 * MS);  // "about 999 s left"
    const std::size_t first = terminal.data.size();
    progress_advance(progress, 998, 1200 * MS);
    EXPECT_EQ(terminal.data.size() - first, first);  // the same width: the shorter text is padded
}

TEST(Progress, NothingWhenDisabledOrForAShortRun) {
    testing::MemorySink terminal;
    Progress progress;
    progress_init(progress, false, terminal.sink(), "cycalc", 1000, 0);
    progress_advance(progress, 500, 5000 * MS);
    progress_end(progress);
    EXPECT_EQ(terminal.data, "");
    progress_init(progress, true, terminal.sink(), "cycalc", 1000, 0);
    progress_advance(progress, 1000, 900 * MS);
    progress_end(progress);
    EXPECT_EQ(terminal.data, "");
}

TEST(Progress, TextsForKnownAndUnknownSizes) {
    Progress progress;
    progress_init(progress, true, ByteSink{}, "cycalc", 1000, 0);
    progress.done = 250;
    EXPECT_EQ(text_at(progress, 2000 * MS), "cycalc: 25% read, about 6 s left");
    progress.done = 10;
    EXPECT_EQ(text_at(progress, 2000 * MS), "cycalc: 1% read, about 3 min 18 s left");
    progress_init(progress, true, ByteSink{}, "cycalc-plot", 0, 0);
    progress.done = 3'500'000'000;
    EXPECT_EQ(text_at(progress, 2500 * MS), "cycalc-plot: 3.5 GB read, 1.4 GB/s");
    progress.done = 900;
    EXPECT_EQ(text_at(progress, 1000 * MS), "cycalc-plot: 900 B read, 900 B/s");
    progress.done = 12'345'678;
    EXPECT_EQ(text_at(progress, 1000 * MS), "cycalc-plot: 12 MB read, 12 MB/s");
}

}  // namespace
}  // namespace cycalc
