// Starting and waiting for a second test process on Windows.
#include "support/child_process.h"

namespace jx::test::detail {

void* start_self(const char* variable, const std::string& request) {
    char self[MAX_PATH];
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return nullptr;
    SetEnvironmentVariableA(variable, request.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string command = std::string("\"") + self + "\"";
    const BOOL started = CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &info);
    SetEnvironmentVariableA(variable, nullptr);
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

} // namespace jx::test::detail
