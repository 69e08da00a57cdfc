#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/file_io.h"

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("tosbel-test-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Names are UTF-8, as the program keeps them; the path and the text stay
    // the same file on every system.
    std::filesystem::path at(const std::string& name) const { return path_ / tosbel::pathOf(name); }
    std::string file(const std::string& name) const { return tosbel::utf8Of(at(name)); }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// A UTF-8 path as the program hands it on.
inline std::string slurp(const std::string& utf8) {
    return slurp(tosbel::pathOf(utf8));
}

inline void spit(const std::string& utf8, const std::string& bytes) {
    spit(tosbel::pathOf(utf8), bytes);
}
