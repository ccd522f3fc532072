// A fresh temporary folder for one test, removed afterwards; the same on every platform.
#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace cycalc::testing {

inline std::filesystem::path make_temp_dir(const std::string& prefix) {
    std::random_device device;
    std::mt19937_64 random(device() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (;;) {
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}

}  // namespace cycalc::testing
