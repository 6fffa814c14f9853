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

DWORD source_time(const char* path, ULONGLONG& time) {
    HANDLE file = open_for_reading(path);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    const bool known = last_write_time(file, time);
    close_handle(file);
    return known ? 0 : ERROR_ACCESS_DENIED;
}

DWORD write_compiled(const char* path, const void* header, DWORD header_size,
                     const std::function<bool(HANDLE)>& body, HANDLE& file) {
    HANDLE out = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return GetLastError();
    const BYTE zeros[64] = {};
    const bool written = header_size <= sizeof zeros && write_all(out, zeros, header_size) &&
                         body(out) && seek_to(out, 0) && write_all(out, header, header_size);
    CloseHandle(out);
    if (!written) {
        DeleteFileA(path);
        return kWriteFailed;
    }
    file = open_for_reading(path);
    return file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
}

void close_handle(HANDLE& file) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
}

} // namespace jx::uitext
