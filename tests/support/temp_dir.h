// A fresh temporary folder for one test, removed with everything in it.
#pragma once

#include "support/drive_mapping.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace jx::test {

class TempDir {
public:
    TempDir() {
        // A name that another process took in the same instant is tried again.
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate =
                std::filesystem::temp_directory_path() / ("jx6ut-test-" + unique_folder_name());
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) path_ = candidate.string();
        }
        if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, in the form the library takes (native separators).
    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string file(const std::string& name) const {
        return (std::filesystem::path(path_) / name).string();
    }
    // Writes `bytes` to `name` inside the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }
    // Reads a whole file (empty when it does not exist).
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool exists(const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    }

private:
    std::string path_;
};

} // namespace jx::test
