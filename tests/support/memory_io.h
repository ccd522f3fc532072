// In-memory byte sources and sinks for the stream tests: whole, in small pieces, or failing.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "platform/text_in.h"
#include "platform/text_out.h"

namespace cycalc::testing {

// Serves `data` at most `piece` bytes per read (a pipe gives short reads), and fails with a read
// error once `fail_at` bytes have been served.
struct MemorySource {
    std::string data;
    std::size_t piece = std::string::npos;
    std::size_t fail_at = std::string::npos;
    std::size_t served = 0;

    static long read(void* context, char* buffer, std::size_t size) {
        auto& self = *static_cast<MemorySource*>(context);
        if (self.served >= self.fail_at) return -1;
        std::size_t take = self.data.size() - self.served;
        if (take > size) take = size;
        if (take > self.piece) take = self.piece;
        if (take > self.fail_at - self.served) take = self.fail_at - self.served;
        std::memcpy(buffer, self.data.data() + self.served, take);
        self.served += take;
        return static_cast<long>(take);
    }
    ByteSource source() { return ByteSource{read, this}; }
};

// Collects what is written; fails every write once `fail_at` bytes have been taken.
struct MemorySink {
    std::string data;
    std::size_t fail_at = std::string::npos;

    static long write(void* context, const char* bytes, std::size_t size) {
        auto& self = *static_cast<MemorySink*>(context);
        if (self.data.size() >= self.fail_at) return -1;
        std::size_t take = size;
        if (take > self.fail_at - self.data.size()) take = self.fail_at - self.data.size();
        self.data.append(bytes, take);
        return static_cast<long>(take);
    }
    ByteSink sink() { return ByteSink{write, this}; }
};

}  // namespace cycalc::testing
