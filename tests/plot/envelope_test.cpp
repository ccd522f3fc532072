// The plot's column envelope: exact while the calls fit the columns, and every column's extremes
// and mean kept when columns merge.
#include "plot/envelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace cycalc {
namespace {

TEST(Envelope, OneColumnPerCallWhileTheyFit) {
    auto envelope = std::make_unique<Envelope>();
    envelope_init(*envelope);
    for (int i = 0; i < 1600; ++i) envelope_add(*envelope, static_cast<std::uint32_t>(i / 100), i * 10.0, i % 100 == 0);
    EXPECT_EQ(envelope->used, 1600u);
    EXPECT_EQ(envelope->shift, 0u);
    for (std::size_t c = 0; c < 1600; ++c) {
        SCOPED_TRACE(c);
        const Column& column = envelope->columns[c];
        EXPECT_EQ(column.min_load, static_cast<double>(c) * 10.0);
        EXPECT_EQ(column.max_load, column.min_load);
        EXPECT_EQ(column.calls, 1u);
        EXPECT_EQ(column.run_starts, c % 100 == 0);
    }
}

TEST(Envelope, AMillionCallsKeepEveryColumnsExtremesAndTheSpike) {
    constexpr std::size_t CALLS = 1000000;
    std::mt19937 random(99);
    std::vector<double> loads(CALLS);
    for (double& load : loads) load = 1000.0 + random() % 1000;
    const std::size_t spike_at = 654321;
    loads[spike_at] = 1e9;
    auto envelope = std::make_unique<Envelope>();
    envelope_init(*envelope);
    for (std::size_t i = 0; i < CALLS; ++i) envelope_add(*envelope, i < CALLS / 2 ? 1u : 2u, loads[i], i == CALLS / 2);

    ASSERT_LE(envelope->used, PLOT_COLUMNS);
    ASSERT_GT(envelope->used, PLOT_COLUMNS / 2);
    const std::size_t per_column = std::size_t{1} << envelope->shift;
    std::uint64_t total = 0;
    for (std::size_t c = 0; c < envelope->used; ++c) {
        const auto first = loads.begin() + static_cast<std::ptrdiff_t>(c * per_column);
        const auto last = loads.begin() + static_cast<std::ptrdiff_t>(std::min(CALLS, (c + 1) * per_column));
        const Column& column = envelope->columns[c];
        ASSERT_EQ(column.max_load, *std::max_element(first, last)) << c;
        ASSERT_EQ(column.min_load, *std::min_element(first, last)) << c;
        ASSERT_EQ(column.calls, static_cast<std::uint64_t>(last - first)) << c;
        total += column.calls;
    }
    EXPECT_EQ(total, CALLS);
    EXPECT_EQ(envelope->columns[spike_at / per_column].max_load, 1e9);
    const Column& middle = envelope->columns[(CALLS / 2) / per_column];
    EXPECT_TRUE(middle.run_starts);
    EXPECT_EQ(middle.mixed, (CALLS / 2) % per_column != 0);
}

}  // namespace
}  // namespace cycalc
