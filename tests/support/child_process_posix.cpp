// Starting a second test process on POSIX systems.
#include "support/child_process.h"

#include "platform/drive_map.h"

#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace jx::test::detail {

void* start_self(const char* variable, const std::string& value) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    environment.push_back(std::string(variable) + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, envp.data()) != 0) return nullptr;
    return new pid_t(pid);
}

void wait_for(void* process) {
    auto* pid = static_cast<pid_t*>(process);
    int status = 0;
    waitpid(*pid, &status, 0);
    delete pid;
}

bool has_ended(void* process) {
    siginfo_t info = {};
    // WNOWAIT leaves the child to wait_for, which reaps it.
    return waitid(P_PID, *static_cast<pid_t*>(process), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
}

void map_drive_as_parent(const std::string& root, const std::string& native_root, unsigned type) {
    jx_map_drive(root[0], native_root.c_str(), type);
}

} // namespace jx::test::detail
