// What jxut's lang and menu commands share: the language argument, file
// names, texts on the terminal and the "file:line: message" report.
#pragma once

#include <cstdio>
#include <string>

namespace jxut::uitext {

// "0".."4" or english, french, spanish, german, user; -1 otherwise.
int parse_language(const std::string& arg);
extern const char* const kLanguageNames[5];

// "DIR/name" for messages and for files the tool reads itself.
std::string join(const std::string& dir, const std::string& name);

// Collects problems in the form editors jump to, and prints them in the
// order of their lines.
class Report {
public:
    explicit Report(std::string file) : file_(std::move(file)) {}
    void add(int line, const std::string& message);
    // Prints every problem; true when there was none.
    bool print() const;
    size_t count() const { return problems_.size(); }

private:
    std::string file_;
    std::string problems_; // lines already formatted, with a sort key in front
};

// A scratch copy of the samples' uitext folder, so that compiling for the
// demo never writes into the samples; removed with the object.
class SampleCopy {
public:
    explicit SampleCopy(const std::string& samples_dir);
    ~SampleCopy();
    SampleCopy(const SampleCopy&) = delete;
    SampleCopy& operator=(const SampleCopy&) = delete;
    bool ready() const { return !dir.empty(); }
    std::string dir;
};

// Why a construction failed, from its error code, in words (30, a malformed
// source, is for the caller to explain).
std::string failure_reason(unsigned long code);

// A copy of `text` with control characters shown, for quoting in messages.
std::string quoted(const std::string& text);

} // namespace jxut::uitext
