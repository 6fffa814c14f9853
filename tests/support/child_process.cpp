#include "support/child_process.h"

#include "files/file_lock.h"
#include "files/jxfileio.h"
#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace jx::test {
namespace {

constexpr const char* kVariable = "JX_TEST_FILE_HOLDER";
constexpr const char* kLockVariable = "JX_TEST_LOCK_HOLDER";
constexpr auto kPatience = std::chrono::seconds(60);

bool wait_for_file(const std::string& path) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TempDir::exists(path)) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Signals readiness with `result`, waits to be released.
void report_and_wait(const std::string& signal, long result) {
    std::ofstream(signal + ".ready.tmp") << result;
    std::filesystem::rename(signal + ".ready.tmp", signal + ".ready");
    wait_for_file(signal + ".release");
}

void release_child(void* process, const std::string& signal) {
    std::ofstream(signal + ".release") << "go";
    detail::wait_for(process);
    std::error_code error;
    std::filesystem::remove(signal + ".ready", error);
    std::filesystem::remove(signal + ".release", error);
}

int run_lock_holder(const char* request) {
    std::istringstream in(request);
    std::string signal, user, root, native_root, path;
    unsigned type = 0;
    char separator;
    in >> type >> separator;
    std::getline(in, signal, ';');
    std::getline(in, user, ';');
    std::getline(in, root, ';');
    std::getline(in, native_root, ';');
    std::getline(in, path);
    detail::map_drive_as_parent(root, native_root, type);
    JX5file_Lock lock;
    std::snprintf(lock.user_name, sizeof lock.user_name, "%s", user.c_str());
    lock.flck_open(path.c_str());
    report_and_wait(signal, lock.lock_state);
    lock.flck_reset();
    return 0;
}

} // namespace

LockHolder::LockHolder(const ScopedDriveMapping& drive, const std::string& name,
                       const std::string& user) {
    signal_ = (std::filesystem::temp_directory_path() / unique_folder_name()).string();
    const std::string native_root =
        std::filesystem::path(drive.native_dir()).parent_path().string();
    std::ostringstream request;
    // N: is the network drive, M: the fixed one.
    const unsigned type = drive.root()[0] == 'N' ? DRIVE_REMOTE : DRIVE_FIXED;
    request << type << ';' << signal_ << ';' << user << ';' << drive.root() << ';' << native_root
            << ';' << drive.file(name);
    process_ = detail::start_self(kLockVariable, request.str());
    if (process_ && wait_for_file(signal_ + ".ready")) std::ifstream(signal_ + ".ready") >> state_;
}

LockHolder::~LockHolder() {
    if (process_) release_child(process_, signal_);
}

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
    if (process_) release_child(process_, signal_);
}

int run_file_holder_if_requested() {
    const char* lock_request = std::getenv(kLockVariable);
    if (lock_request && *lock_request) return run_lock_holder(lock_request);
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
    report_and_wait(signal, static_cast<long>(result));
    delete file;
    return 0;
}

} // namespace jx::test
