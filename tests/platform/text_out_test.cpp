// The text-mode output stream: CR LF line ends, buffering and the record of failed writes.
#include "platform/text_out.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/memory_io.h"

using namespace std::string_literals;

namespace cycalc {
namespace {

using testing::MemorySink;

TEST(TextOut, WritesEveryLfAsCrLfAndNothingElseChanged) {
    MemorySink sink;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), false);
    const std::string text = "a\nb\r\n\n\rc\0d\n"s;
    text_out_write(*out, text.data(), text.size());
    EXPECT_EQ(sink.data, "");  // still buffered
    EXPECT_TRUE(text_out_flush(*out));
    EXPECT_EQ(sink.data, "a\r\nb\r\r\n\r\n\rc\0d\r\n"s);
}

TEST(TextOut, UnbufferedWritesAtOnce) {
    MemorySink sink;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), true);
    text_out_write(*out, "x\n", 2);
    EXPECT_EQ(sink.data, "x\r\n");
}

TEST(TextOut, LargeOutputArrivesWholeAndInOrder) {
    MemorySink sink;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), false);
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        const std::string line = std::to_string(i) + "\n";
        text_out_write(*out, line.data(), line.size());
        expected += std::to_string(i) + "\r\n";
    }
    EXPECT_TRUE(text_out_flush(*out));
    EXPECT_EQ(sink.data, expected);
}

TEST(TextOut, AFailedWriteIsRememberedAndWhatCameBeforeStays) {
    MemorySink sink;
    sink.fail_at = 5;
    auto out = std::make_unique<TextOut>();
    text_out_init(*out, sink.sink(), true);
    text_out_write(*out, "ab\n", 3);
    EXPECT_FALSE(out->failed);
    text_out_write(*out, "cd\n", 3);
    EXPECT_TRUE(out->failed);
    EXPECT_FALSE(text_out_flush(*out));
    EXPECT_EQ(sink.data, "ab\r\nc");  // the sink took one byte of the failing write
}

}  // namespace
}  // namespace cycalc
