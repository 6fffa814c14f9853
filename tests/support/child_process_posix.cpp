// Starting and waiting for a second test process on POSIX systems.
#include "support/child_process.h"

#include <cstdint>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace jx::test::detail {
namespace {

pid_t pid_of(void* process) {
    return static_cast<pid_t>(reinterpret_cast<intptr_t>(process));
}

} // namespace

void* start_self(const char* variable, const std::string& request) {
    setenv(variable, request.c_str(), 1);
    char* argv[] = {const_cast<char*>("/proc/self/exe"), nullptr};
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) == 0;
    unsetenv(variable);
    return started ? reinterpret_cast<void*>(static_cast<intptr_t>(pid)) : nullptr;
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

} // namespace jx::test::detail
