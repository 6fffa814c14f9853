#include "uitext_tool.h"

#include "command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

namespace jxut::uitext {

const char* const kLanguageNames[5] = {"english", "french", "spanish", "german", "user"};

int parse_language(const std::string& arg) {
    for (int i = 0; i < 5; ++i)
        if (arg == kLanguageNames[i] || arg == std::to_string(i)) return i;
    return -1;
}

std::string join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    const char last = dir.back();
    return last == '/' || last == '\\' ? dir + name : dir + "/" + name;
}

void Report::add(int line, const std::string& message) {
    char key[16];
    std::snprintf(key, sizeof key, "%010d", line);
    problems_ += std::string(key) + file_ + ":" + std::to_string(line) + ": " + message + "\n";
}

bool Report::print() const {
    std::vector<std::string> lines;
    std::istringstream in(problems_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return a.compare(0, 10, b, 0, 10) < 0;
    });
    for (const std::string& line : lines) out("%s\n", line.c_str() + 10);
    return lines.empty();
}

SampleCopy::SampleCopy(const std::string& samples_dir) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path source = fs::path(samples_dir) / "uitext";
    const fs::path target = fs::temp_directory_path(error) /
                            ("jxut-demo-uitext-" + std::to_string(std::random_device{}()));
    if (error || !fs::create_directories(target, error)) return;
    for (const auto& entry : fs::directory_iterator(source, error))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), target / entry.path().filename(), error);
    if (!error) dir = target.string();
}

SampleCopy::~SampleCopy() {
    std::error_code error;
    if (!dir.empty()) std::filesystem::remove_all(dir, error);
}

std::string failure_reason(unsigned long code) {
    switch (code) {
    case 2:
        return "not found";
    case 3:
        return "its folder was not found";
    case 5:
        return "access denied";
    case 32:
        return "in use by another program (a running application holds it)";
    case 29:
        return "a write failed; nothing was kept";
    default:
        return "system error " + std::to_string(code);
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += '?';
        else
            out += c;
    }
    return out + "\"";
}

} // namespace jxut::uitext
