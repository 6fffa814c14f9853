#include "support/child_process.h"

#include "files/jxfileio.h"
#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#if !defined(_WIN32)
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace jx::test {
namespace {

constexpr const char* kVariable = "JX_TEST_FILE_HOLDER";
// Parent and child each wait for the other's explicit signal, however long a
// loaded machine takes to start a process. The limit only keeps a child from
// outliving a parent that died without releasing it; the suites' own
// timeout ends a stuck parent well before.
constexpr auto kPatience = std::chrono::minutes(20);

// Starting this program again with the request in its environment, and
// waiting for it; the process token is null when it could not start.
#if defined(_WIN32)
void* start_self(const std::string& request) {
    char self[MAX_PATH];
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return nullptr;
    SetEnvironmentVariableA(kVariable, request.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string command = std::string("\"") + self + "\"";
    const BOOL started = CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &info);
    SetEnvironmentVariableA(kVariable, nullptr);
    if (!started) return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

bool has_ended(void* process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

void wait_for(void* process) {
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
}
#else
void* start_self(const std::string& request) {
    setenv(kVariable, request.c_str(), 1);
    char* argv[] = {const_cast<char*>("/proc/self/exe"), nullptr};
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) == 0;
    unsetenv(kVariable);
    return started ? reinterpret_cast<void*>(static_cast<intptr_t>(pid)) : nullptr;
}

pid_t pid_of(void* process) {
    return static_cast<pid_t>(reinterpret_cast<intptr_t>(process));
}

bool has_ended(void* process) {
    siginfo_t info = {};
    // WNOWAIT leaves the child to wait_for, which reaps it.
    return waitid(P_PID, pid_of(process), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
}

void wait_for(void* process) {
    waitpid(pid_of(process), nullptr, 0);
}
#endif

// Waits until `path` exists; gives up when the `child`, if any, has ended
// without making it.
bool wait_for_file(const std::string& path, void* child) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TempDir::exists(path)) {
        if (child && has_ended(child)) return TempDir::exists(path);
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

FileHolder::FileHolder(const std::string& path, DWORD access, DWORD share_mode) {
    signal_ = (std::filesystem::temp_directory_path() / unique_folder_name()).string();
    process_ = start_self(signal_ + ';' + std::to_string(access) + ';' +
                          std::to_string(share_mode) + ';' + path);
    if (process_ && wait_for_file(signal_ + ".ready", process_))
        std::ifstream(signal_ + ".ready") >> child_error_;
}

FileHolder::~FileHolder() {
    if (!process_) return;
    std::ofstream(signal_ + ".release") << "go";
    wait_for(process_);
    std::error_code error;
    std::filesystem::remove(signal_ + ".ready", error);
    std::filesystem::remove(signal_ + ".release", error);
}

int run_file_holder_if_requested() {
    const char* request = std::getenv(kVariable);
    if (!request || !*request) return -1;
    std::istringstream in(request);
    std::string signal, access, share_mode, path;
    std::getline(std::getline(std::getline(in, signal, ';'), access, ';'), share_mode, ';');
    std::getline(in, path);
    Error_Handler record;
    std::unique_ptr<jxfileio> file;
    DWORD result = 0;
    try {
        file = std::make_unique<jxfileio>(&record, path.c_str(), std::stoul(access),
                                          std::stoul(share_mode), nullptr);
    } catch (Error_Handler* failed) {
        result = failed->last_error_code ? failed->last_error_code : ERROR_INVALID_FUNCTION;
    }
    // The result is written whole before the parent sees it; then the file is
    // held until the parent releases it.
    std::ofstream(signal + ".ready.tmp") << result;
    std::filesystem::rename(signal + ".ready.tmp", signal + ".ready");
    wait_for_file(signal + ".release", nullptr);
    return 0;
}

} // namespace jx::test
