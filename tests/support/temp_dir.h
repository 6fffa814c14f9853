// A fresh temporary folder for one test, removed with everything in it.
#pragma once

#include <string>

namespace jx::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, in the form the library takes (native separators).
    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string file(const std::string& name) const;
    // Writes `bytes` to `name` inside the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file (empty when it does not exist).
    static std::string read(const std::string& path);
    static bool exists(const std::string& path);

private:
    std::string path_;
};

} // namespace jx::test
