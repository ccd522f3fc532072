// The batch read against the line reads: every corner of the format, at every offset around the
// 64-byte masks and the reads of a pipe, in every encoding, must give the same records.
#include "log/value_batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "log/record_walk.h"
#include "platform/byte_masks.h"
#include "support/memory_io.h"

namespace cycalc {
namespace {

using testing::MemorySource;

struct Encoding {
    const char* name;
    ScanFormat format;
    bool long_mode;
};
constexpr Encoding ENCODINGS[] = {
    {"hex", ScanFormat::hexadecimal, false}, {"decimal", ScanFormat::decimal, false}, {"long", ScanFormat::hexadecimal, true}};

// Everything the walk hands over, in order, and how it ended.
struct Walk {
    std::vector<std::uint32_t> seen;  // current state, next state, cycles for every record
    std::vector<std::uint32_t> last_run;
    bool at_end = false;
    bool end_of_input = false;
    bool operator==(const Walk&) const = default;

    void record(std::uint32_t current, std::uint32_t next, std::uint32_t cycles) {
        seen.insert(seen.end(), {current, next, cycles});
    }
    std::uint32_t records(std::uint32_t current, const std::uint32_t* values, std::size_t count) {
        for (std::size_t i = 0; i < count; i += 2) {
            record(current, values[i], values[i + 1]);
            current = values[i];
        }
        return current;
    }
    void last_run_ends(std::uint32_t state) { last_run.push_back(state); }
};

Walk walk(const std::string& data, const Encoding& encoding, std::size_t piece, bool fast) {
    MemorySource source{data, piece};
    auto in = std::make_unique<TextIn>();
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, encoding.format, encoding.long_mode);
    reader->plain_lines_fast = fast;
    Walk result;
    std::uint32_t state = 0;
    result.at_end = walk_log_records(*reader, state, result) == PassOutcome::log_at_end;
    result.end_of_input = reader->end_of_input;
    return result;
}

// A log of plain value lines in the encoding, `records` of them.
std::string plain_log(const Encoding& encoding, int records, const char* line_end) {
    std::string log;
    char line[64];
    for (int i = 0; i < 2 * records; ++i) {
        const unsigned value = i % 2 == 0 ? static_cast<unsigned>(i / 40 % 3) : 1000u + 37u * static_cast<unsigned>(i);
        if (encoding.long_mode) {
            std::snprintf(line, sizeof line, "0x%04X%s0x%04X%s", value & 0xffff, line_end, value >> 16, line_end);
        } else if (encoding.format == ScanFormat::decimal) {
            std::snprintf(line, sizeof line, "%u%s", value, line_end);
        } else {
            std::snprintf(line, sizeof line, "0x%04X%s", value, line_end);
        }
        log += line;
    }
    return log;
}

TEST(ValueBatch, AgreesWithTheLineReadsAtEveryOffset) {
    // What may meet a fast path at an edge: line ends of both kinds, a lone CR, a Ctrl-Z, a NUL, a
    // long line, texts that only the general conversion takes, an empty line, a missing line end.
    const std::string events[] = {
        "\r\n", "\r",   "\x1a",      std::string(1, '\0'), "12345678901234567\n", "123456789012345678\n", " 12\n", "1.5\n", "\n",
        "0x\n", "-1\n", "0x12345\n", "12\r\r\n",           "fffffffff\n"};
    const std::size_t pieces[] = {std::string::npos, 1, 63, 64, 65, 4093};
    for (const Encoding& encoding : ENCODINGS) {
        for (const char* line_end : {"\n", "\r\n"}) {
            const std::string base = plain_log(encoding, 60, line_end);
            for (const std::string& event : events) {
                for (std::size_t at = 0; at < 200 && at <= base.size(); ++at) {
                    const std::string log = base.substr(0, at) + event + base.substr(at);
                    const Walk exact = walk(log, encoding, std::string::npos, false);
                    for (std::size_t piece : pieces) {
                        const Walk fast = walk(log, encoding, piece, true);
                        ASSERT_EQ(fast, exact) << encoding.name << " event " << ::testing::PrintToString(event) << " at " << at
                                               << " piece " << piece;
                    }
                    // The log cut short at the same offset: the last line without its line end.
                    const std::string cut = base.substr(0, at + 100) + event;
                    ASSERT_EQ(walk(cut, encoding, 64, true), walk(cut, encoding, std::string::npos, false))
                        << encoding.name << " cut after " << ::testing::PrintToString(event) << " at " << at;
                }
            }
        }
    }
}

TEST(ValueBatch, AgreesAcrossTheBlockBoundaryAndTheRewind) {
    // Lines that straddle the end of a 128 KiB block, a header line, and a first line that is not a
    // header (the rewind puts it back in front of the block).
    for (const Encoding& encoding : ENCODINGS) {
        const std::string base = plain_log(encoding, 30000, "\n");
        for (const std::string& first : {std::string("1651 header line\n"), std::string("0x1651\n"), std::string()}) {
            for (std::size_t shift = 0; shift < 20; ++shift) {
                const std::string log = first + std::string(shift, '\n') + base;
                SCOPED_TRACE(std::string(encoding.name) + " first " + first + " shift " + std::to_string(shift));
                ASSERT_EQ(walk(log, encoding, std::string::npos, true), walk(log, encoding, std::string::npos, false));
            }
        }
    }
}

TEST(ValueBatch, TakesWholeRecordsOnlyAndStopsBeforeOtherLines) {
    auto in = std::make_unique<TextIn>();
    MemorySource source{"0x0001\n0x00C8\n0x0002\n0x0032\n 7\n0x0003\n0x0004\n"};
    text_in_init(*in, source.source());
    auto reader = std::make_unique<LogReader>();
    log_reader_init(*reader, *in, ScanFormat::hexadecimal, false);
    ASSERT_EQ(read_log_value(*reader), 1u);  // the first read fills the block
    std::uint32_t values[8];
    // 0x00C8, 0x0002 is a record; 0x0032 would be half of one, since " 7" is for the line reads.
    ASSERT_EQ(read_value_batch(*reader, values, 8), 2u);
    EXPECT_EQ(values[0], 0xc8u);
    EXPECT_EQ(values[1], 2u);
    EXPECT_EQ(read_value_batch(*reader, values, 8), 0u);
    EXPECT_EQ(read_log_value(*reader), 0x32u);
    EXPECT_EQ(read_log_value(*reader), 7u);
    ASSERT_EQ(read_value_batch(*reader, values, 8), 2u);
    EXPECT_EQ(values[0], 3u);
    EXPECT_EQ(values[1], 4u);
    EXPECT_FALSE(in->eof);
}

TEST(ByteMasks, PlainAndVectorMasksAgree) {
    char bytes[64];
    std::uint64_t seed = 7;
    const char alphabet[] = {'\n', '\r', '\x1a', '\0', '0', 'x', 'F', ' ', '\xff', '\x80'};
    for (int round = 0; round < 20000; ++round) {
        for (char& c : bytes) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            c = alphabet[(seed >> 33) % sizeof alphabet];
        }
        const ByteMasks plain = byte_masks_plain(bytes);
        const ByteMasks used = byte_masks(bytes);
        ASSERT_EQ(used.line_feeds, plain.line_feeds) << round;
        ASSERT_EQ(used.carriage_returns, plain.carriage_returns) << round;
        ASSERT_EQ(used.ends, plain.ends) << round;
    }
    std::string worked = "0x1\n\r\n\x1a" + std::string(57, '7');
    const ByteMasks masks = byte_masks_plain(worked.data());
    EXPECT_EQ(masks.line_feeds, 0b101000u);
    EXPECT_EQ(masks.carriage_returns, 0b10000u);
    EXPECT_EQ(masks.ends, 0b1000000u);
}

}  // namespace
}  // namespace cycalc
