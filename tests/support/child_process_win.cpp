// Starting a second test process on Windows.
#include "support/child_process.h"

#include <string>

namespace jx::test::detail {

void* start_self(const char* variable, const std::string& value) {
    char self[MAX_PATH];
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return nullptr;
    SetEnvironmentVariableA(variable, value.c_str());
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

void wait_for(void* process) {
    WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
    CloseHandle(static_cast<HANDLE>(process));
}

bool has_ended(void* process) {
    return WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_OBJECT_0;
}

// The drives of Windows are the same for every process.
void map_drive_as_parent(const std::string&, const std::string&, unsigned) {}

} // namespace jx::test::detail
