#include "uitext_files.h"

#include <cstdio>

namespace jx::uitext {

FolderPath::FolderPath(const char* directory, const char* name) {
    std::snprintf(text, sizeof text, "%s\\%s", directory ? directory : "", name);
}

HANDLE open_for_reading(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool last_write_time(HANDLE file, ULONGLONG& time) {
    FILETIME written;
    if (!GetFileTime(file, nullptr, nullptr, &written)) return false;
    time = (static_cast<ULONGLONG>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return true;
}

bool read_all(HANDLE file, void* buffer, DWORD count) {
    DWORD done = 0;
    return ReadFile(file, buffer, count, &done, nullptr) && done == count;
}

bool write_all(HANDLE file, const void* buffer, DWORD count) {
    DWORD done = 0;
    return WriteFile(file, buffer, count, &done, nullptr) && done == count;
}

bool seek_to(HANDLE file, DWORD position) {
    SetLastError(ERROR_SUCCESS);
    return SetFilePointer(file, static_cast<LONG>(position), nullptr, FILE_BEGIN) == position &&
           (position != INVALID_SET_FILE_POINTER || GetLastError() == ERROR_SUCCESS);
}

void close_handle(HANDLE& file) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
}

} // namespace jx::uitext
