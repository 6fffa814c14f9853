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
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

namespace jx::test {
namespace {

constexpr const char* kVariable = "JX_TEST_FILE_HOLDER";
constexpr const char* kLockVariable = "JX_TEST_LOCK_HOLDER";
// Parent and child each wait for the other's explicit signal, however long a
// loaded machine takes to start a process. The limit only keeps a child from
// outliving a parent that died without releasing it; the suites' own
// timeout ends a stuck parent well before.
constexpr auto kPatience = std::chrono::minutes(20);

// Waits until `path` exists; gives up when `gone` says the other side has
// ended without making it.
bool wait_for_file(const std::string& path, const std::function<bool()>& gone) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TempDir::exists(path)) {
        if (gone()) return TempDir::exists(path);
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The child's side: reports `result` (written whole before it is seen), then
// holds on until released.
void report_and_wait(const std::string& signal, long result) {
    std::ofstream(signal + ".ready.tmp") << result;
    std::filesystem::rename(signal + ".ready.tmp", signal + ".ready");
    wait_for_file(signal + ".release", [] { return false; });
}

// The parent's side: starts the child and waits until it reports what it
// holds, or ends without a report (`result` is then left alone).
void* start_child(const char* variable, std::string& signal, const std::string& request,
                  long& result) {
    signal = (std::filesystem::temp_directory_path() / unique_folder_name()).string();
    void* process = detail::start_self(variable, signal + ';' + request);
    if (process && wait_for_file(signal + ".ready", [&] { return detail::has_ended(process); }))
        std::ifstream(signal + ".ready") >> result;
    return process;
}

void release_child(void* process, const std::string& signal) {
    if (!process) return;
    std::ofstream(signal + ".release") << "go";
    detail::wait_for(process);
    std::error_code error;
    std::filesystem::remove(signal + ".ready", error);
    std::filesystem::remove(signal + ".release", error);
}

// The request's fields, separated by ';'; the last one takes the rest.
std::vector<std::string> fields(const char* request, int count) {
    std::istringstream in(request);
    std::vector<std::string> out(count);
    for (int i = 0; i < count; ++i) std::getline(in, out[i], i + 1 < count ? ';' : '\n');
    return out;
}

int run_lock_holder(const char* request) {
    const auto f = fields(request, 6); // signal, type, user, root, native root, path
    detail::map_drive_as_parent(f[3], f[4], static_cast<unsigned>(std::stoul(f[1])));
    JX5file_Lock lock;
    std::snprintf(lock.user_name, sizeof lock.user_name, "%s", f[2].c_str());
    lock.flck_open(f[5].c_str());
    report_and_wait(f[0], lock.lock_state);
    lock.flck_reset();
    return 0;
}

int run_file_holder(const char* request) {
    const auto f = fields(request, 4); // signal, access, share mode, path
    Error_Handler record;
    jxfileio* file = nullptr;
    DWORD result = 0;
    try {
        file = new jxfileio(&record, f[3].c_str(), std::stoul(f[1]), std::stoul(f[2]), nullptr);
    } catch (Error_Handler* failed) {
        result = failed->last_error_code ? failed->last_error_code : ERROR_INVALID_FUNCTION;
    }
    report_and_wait(f[0], static_cast<long>(result));
    delete file;
    return 0;
}

} // namespace

LockHolder::LockHolder(const ScopedDriveMapping& drive, const std::string& name,
                       const std::string& user) {
    const std::string native_root =
        std::filesystem::path(drive.native_dir()).parent_path().string();
    // N: is the network drive, M: the fixed one.
    const unsigned type = drive.root()[0] == 'N' ? DRIVE_REMOTE : DRIVE_FIXED;
    std::ostringstream request;
    request << type << ';' << user << ';' << drive.root() << ';' << native_root << ';'
            << drive.file(name);
    long state = -1;
    process_ = start_child(kLockVariable, signal_, request.str(), state);
    state_ = static_cast<int>(state);
}

LockHolder::~LockHolder() {
    release_child(process_, signal_);
}

FileHolder::FileHolder(const std::string& path, DWORD access, DWORD share_mode) {
    std::ostringstream request;
    request << access << ';' << share_mode << ';' << path;
    long error = -1;
    process_ = start_child(kVariable, signal_, request.str(), error);
    started_ = error >= 0;
    child_error_ = started_ ? static_cast<DWORD>(error) : ERROR_INVALID_FUNCTION;
}

FileHolder::~FileHolder() {
    release_child(process_, signal_);
}

int run_file_holder_if_requested() {
    const char* lock_request = std::getenv(kLockVariable);
    if (lock_request && *lock_request) return run_lock_holder(lock_request);
    const char* request = std::getenv(kVariable);
    return request && *request ? run_file_holder(request) : -1;
}

} // namespace jx::test
