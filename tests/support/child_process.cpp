#include "support/child_process.h"

#include "files/jxfileio.h"
#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace jx::test {
namespace {

constexpr const char* kVariable = "JX_TEST_FILE_HOLDER";
constexpr auto kPatience = std::chrono::seconds(60);

bool wait_for_file(const std::string& path) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TempDir::exists(path)) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

FileHolder::FileHolder(const std::string& path, DWORD access, DWORD share_mode) {
    signal_ = (std::filesystem::temp_directory_path() / unique_folder_name()).string();
    std::ostringstream request;
    request << access << ';' << share_mode << ';' << signal_ << ';' << path;
    process_ = detail::start_self(kVariable, request.str());
    if (!process_ || !wait_for_file(signal_ + ".ready")) {
        child_error_ = ERROR_INVALID_FUNCTION;
        return;
    }
    started_ = true;
    std::ifstream(signal_ + ".ready") >> child_error_;
}

FileHolder::~FileHolder() {
    if (!process_) return;
    std::ofstream(signal_ + ".release") << "go";
    detail::wait_for(process_);
    std::error_code error;
    std::filesystem::remove(signal_ + ".ready", error);
    std::filesystem::remove(signal_ + ".release", error);
}

int run_file_holder_if_requested() {
    const char* request = std::getenv(kVariable);
    if (!request || !*request) return -1;
    std::istringstream in(request);
    DWORD access = 0, share = 0;
    char separator;
    std::string signal, path;
    in >> access >> separator >> share >> separator;
    std::getline(in, signal, ';');
    std::getline(in, path);

    Error_Handler record;
    jxfileio* file = nullptr;
    DWORD result = 0;
    try {
        file = new jxfileio(&record, path.c_str(), access, share, nullptr);
    } catch (Error_Handler* failed) {
        result = failed->last_error_code ? failed->last_error_code : ERROR_INVALID_FUNCTION;
    }
    std::ofstream(signal + ".ready.tmp") << result;
    std::filesystem::rename(signal + ".ready.tmp", signal + ".ready");
    wait_for_file(signal + ".release");
    delete file;
    return 0;
}

} // namespace jx::test
