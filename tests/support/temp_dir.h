// A fresh folder under the system temp folder for one test, removed with everything in it
// when the test ends, plus small helpers to put and read raw bytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/text.h"

namespace lodestar::testing {

// The raw bytes of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("lodestar-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the program's wide text, ending in "/".
    std::u16string folder() const { return fromUtf8(path_.string() + "/"); }
    // Full path of a name inside the folder, as wide text.
    std::u16string file(const std::string& name) const { return fromUtf8((path_ / name).string()); }

    // Writes raw bytes to a file inside the folder (making its folders) and returns its wide
    // path.
    std::u16string put(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream out(path_ / name, std::ios::binary);
        out << bytes;
        return file(name);
    }
    // Reads the raw bytes of a file inside the folder.
    std::string bytes(const std::string& name) const { return readBytes(path_ / name); }

  private:
    std::filesystem::path path_;
};

}  // namespace lodestar::testing
