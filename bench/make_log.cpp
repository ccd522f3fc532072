// Writes a large, deterministic log of realistic shape to standard output: a header line, then
// records of a few state IDs in runs of 50 to 5,000, cycle counts from 1,000 to 2,000,000.
//   make_log SIZE_MIB [hex|decimal|long|one-line|empty-lines] [lf|crlf]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A small, fixed generator: the same log on every machine.
struct Random {
    std::uint64_t state = 0x9e3779b97f4a7c15ULL;
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::uint32_t>(state >> 11);
    }
    std::uint32_t between(std::uint32_t low, std::uint32_t high) { return low + next() % (high - low + 1); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_log SIZE_MIB [hex|decimal|long|one-line|empty-lines] [lf|crlf]\n");
        return 2;
    }
    const std::uint64_t size = std::strtoull(argv[1], nullptr, 10) << 20;
    const std::string shape = argc > 2 ? argv[2] : "hex";
    const char* end = argc > 3 && std::strcmp(argv[3], "crlf") == 0 ? "\r\n" : "\n";
    static char block[1 << 16];
    std::uint64_t written = 0;
    auto emit = [&](const char* data, std::size_t n) {
        std::fwrite(data, 1, n, stdout);
        written += n;
    };
    if (shape == "one-line" || shape == "empty-lines") {
        std::memset(block, shape == "one-line" ? '7' : '\n', sizeof block);
        while (written + sizeof block <= size) emit(block, sizeof block);
        emit(block, size - written);
        return 0;
    }
    char line[64];
    int n = std::snprintf(line, sizeof line, "1651 cycle log, generated, %s values%s", shape.c_str(), end);
    emit(line, static_cast<std::size_t>(n));
    Random random;
    const std::uint32_t states[] = {0x0001, 0x0002, 0x0010, 0x1651, 0x00ff};
    while (written < size) {
        const std::uint32_t state = states[random.next() % 5];
        const std::uint32_t run = random.between(50, 5000);
        for (std::uint32_t i = 0; i < run && written < size; ++i) {
            const std::uint32_t cycles = random.between(1000, 2000000);
            if (shape == "decimal") {
                n = std::snprintf(line, sizeof line, "%u%s%u%s", state, end, cycles, end);
            } else if (shape == "long") {
                n = std::snprintf(line, sizeof line, "0x%04X%s0x%04X%s0x%04X%s0x%04X%s", state & 0xffff, end, state >> 16, end,
                                  cycles & 0xffff, end, cycles >> 16, end);
            } else {
                n = std::snprintf(line, sizeof line, "0x%04X%s0x%04X%s", state, end, cycles, end);
            }
            emit(line, static_cast<std::size_t>(n));
        }
    }
    return 0;
}
