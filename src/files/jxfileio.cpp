// Binary data files read and written in whole blocks. jxfileio reports every
// failure in the caller's error record and throws the record's pointer;
// jx_bfile throws the integer 1.
#include "jxfileio.h"

#include "frame/catalog_ids.h"

#include <cstring>

namespace {

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// The final component of a name: after its last backslash, slash or drive
// colon.
const char* final_component(const char* name) {
    const char* last = name;
    for (const char* p = name; *p; ++p)
        if (is_separator(*p) || *p == ':') last = p + 1;
    return last;
}

// Joins a directory and a file name into `out`, with a backslash between
// them when `separator` is set. False when the path would not fit MAX_PATH
// characters with its terminator, so the buffer can never overflow.
bool join_path(char (&out)[MAX_PATH], const char* directory, const char* name, bool separator) {
    const size_t dir_length = std::strlen(directory);
    const size_t name_length = std::strlen(name);
    if (dir_length + (separator ? 1 : 0) + name_length >= MAX_PATH) return false;
    std::memcpy(out, directory, dir_length);
    size_t at = dir_length;
    if (separator) out[at++] = '\\';
    std::memcpy(out + at, name, name_length + 1);
    return true;
}

// The creation mode by access mask: read-write opens or creates and keeps
// the contents, any other write access empties the file, reading needs an
// existing file. Writers never share.
DWORD creation_for(DWORD access, DWORD& share_mode) {
    if (access == (GENERIC_READ | GENERIC_WRITE)) {
        share_mode = 0;
        return OPEN_ALWAYS;
    }
    if (access & GENERIC_WRITE) {
        share_mode = 0;
        return CREATE_ALWAYS;
    }
    return OPEN_EXISTING;
}

[[noreturn]] void throw_with_last_error(Error_Handler* record) {
    record->set_last_error_code(GetLastError());
    throw record;
}

// jx_bfile's directory-joined path: one buffer for the whole process.
char bfile_path[MAX_PATH];

} // namespace

// ---------------------------------------------------------------------------
// jxfileio

jxfileio::jxfileio(Error_Handler* record, const char* name, DWORD access, DWORD share_mode,
                   const char* directory)
    : hfile(INVALID_HANDLE_VALUE), err(record) {
    open_file(name, access, share_mode, directory);
}

jxfileio::~jxfileio() {
    if (hfile != INVALID_HANDLE_VALUE) CloseHandle(hfile);
}

// The record is re-initialised before the attempt, so whatever fails later
// in this file's life is reported as a file error that names it. A joined
// path too long for Windows is refused as the system refuses one.
void jxfileio::open_file(const char* name, DWORD access, DWORD share_mode, const char* directory) {
    err->init_fileio(name);
    if (!name) {
        err->set_last_error_code(ERROR_INVALID_NAME);
        throw err;
    }
    char joined[MAX_PATH];
    const char* path = name;
    if (directory && *directory) {
        // No backslash after one that is there already, or after a bare drive.
        const size_t length = std::strlen(directory);
        const bool separator =
            !is_separator(directory[length - 1]) && !(length == 2 && directory[1] == ':');
        if (!join_path(joined, directory, final_component(name), separator)) {
            err->set_last_error_code(ERROR_FILENAME_EXCED_RANGE);
            throw err;
        }
        path = joined;
    }
    const DWORD creation = creation_for(access, share_mode);
    hfile =
        CreateFileA(path, access, share_mode, nullptr, creation, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (hfile == INVALID_HANDLE_VALUE) throw_with_last_error(err);
}

void jxfileio::throw_error_code(int catalog_id) {
    err->set_error_code(catalog_id);
    throw err;
}

// The last error is cleared before each transfer: a read that merely comes
// short leaves it untouched, and the record should then show "Read error at
// end of file" rather than whatever an earlier call left behind.
void jxfileio::read(void* buffer, DWORD count) {
    DWORD done = 0;
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = ReadFile(hfile, buffer, count, &done, nullptr);
    if (ok && done == count) return;
    err->set_last_error_code(GetLastError());
    if (done < count) err->set_error_code(jx::catalog::kReadErrorAtEnd);
    throw err;
}

void jxfileio::read_aligned(void* buffer, DWORD wanted, DWORD stored) {
    if (wanted < stored) {
        read(buffer, wanted);
        move_ptr(static_cast<LONG>(stored - wanted), FILE_CURRENT);
    } else {
        read(buffer, stored);
    }
}

bool jxfileio::read_nothrow_eof(void* buffer, DWORD count) {
    DWORD done = 0;
    if (!ReadFile(hfile, buffer, count, &done, nullptr)) throw_with_last_error(err);
    return done == count;
}

void jxfileio::write(const void* buffer, DWORD count) {
    DWORD done = 0;
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = WriteFile(hfile, buffer, count, &done, nullptr);
    if (ok && done == count) return;
    err->set_last_error_code(GetLastError());
    if (done < count) err->set_error_code(jx::catalog::kInsufficientDiskSpace);
    throw err;
}

DWORD jxfileio::get_file_size() {
    const DWORD size = GetFileSize(hfile, nullptr);
    if (size == INVALID_FILE_SIZE) throw_with_last_error(err);
    return size;
}

void jxfileio::move_ptr(LONG distance, DWORD method) {
    if (SetFilePointer(hfile, distance, nullptr, method) == INVALID_SET_FILE_POINTER)
        throw_with_last_error(err);
}

void jxfileio::set_endof_file() {
    SetEndOfFile(hfile);
}

// ---------------------------------------------------------------------------
// jx_bfile

jx_bfile::jx_bfile() : hfile(INVALID_HANDLE_VALUE) {}

jx_bfile::jx_bfile(const char* name, DWORD access, DWORD share_mode, const char* directory)
    : hfile(INVALID_HANDLE_VALUE) {
    open_file(name, access, share_mode, directory);
}

jx_bfile::~jx_bfile() {
    if (hfile != INVALID_HANDLE_VALUE) CloseHandle(hfile);
}

// An empty directory is taken as no directory. A joined path that would not
// fit the 260-character buffer fails the open like any other bad name.
void jx_bfile::open_file(const char* name, DWORD access, DWORD share_mode, const char* directory) {
    if (!name) throw 1;
    const char* path = name;
    if (directory && *directory) {
        const bool separator = directory[std::strlen(directory) - 1] != '\\';
        if (!join_path(bfile_path, directory, name, separator)) throw 1;
        path = bfile_path;
    }
    const DWORD creation = (access & GENERIC_WRITE) ? CREATE_ALWAYS : OPEN_EXISTING;
    if (access & GENERIC_WRITE) share_mode = 0;
    hfile =
        CreateFileA(path, access, share_mode, nullptr, creation, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (hfile == INVALID_HANDLE_VALUE) throw 1;
}

void jx_bfile::read(void* buffer, DWORD count) {
    DWORD done = 0;
    if (!ReadFile(hfile, buffer, count, &done, nullptr) || done != count) throw 1;
}

void jx_bfile::write(const void* buffer, DWORD count) {
    DWORD done = 0;
    if (!WriteFile(hfile, buffer, count, &done, nullptr) || done != count) throw 1;
}

void jx_bfile::move_ptr(LONG distance, DWORD method) {
    SetFilePointer(hfile, distance, nullptr, method);
}
