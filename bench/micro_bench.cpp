// Micro-benchmarks of the per-line pieces: line splitting, the conversions, format_sci and the
// detail line.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "log/conversions.h"
#include "log/log_reader.h"
#include "platform/text_in.h"
#include "report/number_fields.h"
#include "report/report_lines.h"

namespace {

using namespace cycalc;

// A block of "0x%04X" value lines as the generator writes them.
std::string hex_lines(std::size_t count) {
    std::mt19937 random(1);
    std::string text;
    char line[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "0x%04X\n", i % 2 ? 1000 + random() % 1999000 : 1 + random() % 4);
        text += line;
    }
    return text;
}

struct StringSource {
    const std::string* data;
    std::size_t served;
    static long read(void* context, char* buffer, std::size_t size) {
        auto& self = *static_cast<StringSource*>(context);
        const std::size_t take = std::min(size, self.data->size() - self.served);
        std::memcpy(buffer, self.data->data() + self.served, take);
        self.served += take;
        return static_cast<long>(take);
    }
};

void read_all(benchmark::State& state, bool fast) {
    const std::string text = hex_lines(100000);
    auto in = std::make_unique<TextIn>();
    auto reader = std::make_unique<LogReader>();
    for (auto _ : state) {
        StringSource source{&text, 0};
        text_in_init(*in, ByteSource{StringSource::read, &source});
        log_reader_init(*reader, *in, ScanFormat::hexadecimal, false);
        reader->plain_lines_fast = fast;
        std::uint32_t sum = 0;
        while (!reader->end_of_input) sum += read_log_value(*reader);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 100000));
}

void BM_ReadValues_PlainFast(benchmark::State& state) { read_all(state, true); }
void BM_ReadValues_LineReads(benchmark::State& state) { read_all(state, false); }

void BM_SplitLines(benchmark::State& state) {
    const std::string text = hex_lines(100000);
    auto in = std::make_unique<TextIn>();
    for (auto _ : state) {
        StringSource source{&text, 0};
        text_in_init(*in, ByteSource{StringSource::read, &source});
        std::size_t length = 0;
        std::size_t lines = 0;
        char line[20];
        for (;;) {
            if (text_in_plain_line(*in, length) != nullptr) {
                ++lines;
            } else if (text_in_read_line(*in, line, VALUE_READ_LIMIT) >= 0) {
                ++lines;
            } else {
                break;
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

template <typename Convert>
void convert_texts(benchmark::State& state, const std::vector<std::string>& texts, Convert convert) {
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& text = texts[i++ & 4095];
        benchmark::DoNotOptimize(convert(text));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

std::vector<std::string> sample_texts(bool hex) {
    std::mt19937 random(2);
    std::vector<std::string> texts;
    char text[32] = {};
    for (int i = 0; i < 4096; ++i) {
        std::snprintf(text, sizeof text, hex ? "%X" : "%u", 1000 + random() % 1999000);
        texts.emplace_back(text, sizeof text);  // padded: the fast conversions load 8 bytes
        texts.back().resize(std::strlen(text));
        texts.back().reserve(32);
    }
    return texts;
}

void BM_ConvertHexadecimal(benchmark::State& state) {
    convert_texts(state, sample_texts(true), [](const std::string& t) { return convert_hexadecimal(t.data(), t.size()); });
}
void BM_ConvertPlainHexadecimal(benchmark::State& state) {
    convert_texts(state, sample_texts(true), [](const std::string& t) {
        std::uint32_t v = 0;
        convert_plain_hexadecimal(t.data(), t.size(), v);
        return v;
    });
}
void BM_ConvertDecimal(benchmark::State& state) {
    convert_texts(state, sample_texts(false), [](const std::string& t) { return convert_decimal(t.data(), t.size()); });
}
void BM_ConvertPlainDecimal(benchmark::State& state) {
    convert_texts(state, sample_texts(false), [](const std::string& t) {
        std::uint32_t v = 0;
        convert_plain_decimal(t.data(), t.size(), v);
        return v;
    });
}

void BM_FormatSci(benchmark::State& state) {
    std::mt19937 random(3);
    std::vector<double> values;
    for (int i = 0; i < 4096; ++i) values.push_back(static_cast<float>(random() % 2000000) * 400.0f / 3.0f);
    char field[32];
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(format_sci(values[i++ & 4095], field));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_FormatSciInteger(benchmark::State& state) {
    std::mt19937 random(3);
    std::vector<std::uint64_t> values;
    for (int i = 0; i < 4096; ++i) values.push_back((1000 + random() % 1999000) * std::uint64_t{400});
    char field[32];
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(format_sci_integer(values[i++ & 4095], field));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_DetailLine(benchmark::State& state) {
    std::mt19937 random(4);
    std::vector<std::uint32_t> cycles;
    for (int i = 0; i < 4096; ++i) cycles.push_back(1000 + random() % 1999000);
    char line[REPORT_LINE_MAX];
    std::size_t i = 0;
    for (auto _ : state) {
        const std::uint32_t c = cycles[i++ & 4095];
        benchmark::DoNotOptimize(render_detail_line(line, 0x1651, c, c * 400.0));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_ReadValues_PlainFast);
BENCHMARK(BM_ReadValues_LineReads);
BENCHMARK(BM_SplitLines);
BENCHMARK(BM_ConvertHexadecimal);
BENCHMARK(BM_ConvertPlainHexadecimal);
BENCHMARK(BM_ConvertDecimal);
BENCHMARK(BM_ConvertPlainDecimal);
BENCHMARK(BM_FormatSci);
BENCHMARK(BM_FormatSciInteger);
BENCHMARK(BM_DetailLine);

}  // namespace

BENCHMARK_MAIN();
