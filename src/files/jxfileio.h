// Exact-length binary reading and writing through Windows file handles.
#pragma once

#include "frame/error_handler.h"

// A file that is open for as long as the object lives. Every failure is
// recorded in the caller's error record, whose pointer is then thrown.
class JX_API jxfileio {
public:
    HANDLE hfile;
    Error_Handler* err;

    // Opens the file or throws `record`. With a non-empty directory the file
    // opened is the directory joined with the name's final component.
    jxfileio(Error_Handler* record, const char* name, DWORD access, DWORD share_mode,
             const char* directory);
    ~jxfileio();
    // A copy would close the same handle twice.
    jxfileio(const jxfileio&) = delete;
    jxfileio& operator=(const jxfileio&) = delete;

    void read(void* buffer, DWORD count);
    // Reads a record stored in `stored` bytes into a buffer of `wanted` bytes;
    // the file position always ends after the stored record.
    void read_aligned(void* buffer, DWORD wanted, DWORD stored);
    // False when the file ended before `count` bytes; throws only when the
    // read itself fails.
    bool read_nothrow_eof(void* buffer, DWORD count);
    void write(const void* buffer, DWORD count);
    DWORD get_file_size();
    void move_ptr(LONG distance, DWORD method);
    void set_endof_file();
    [[noreturn]] void throw_error_code(int catalog_id);

private:
    void open_file(const char* name, DWORD access, DWORD share_mode, const char* directory);
};

// The lean variant for callers without an error record: every failure
// throws the integer 1.
class JX_API jx_bfile {
public:
    HANDLE hfile;

    jx_bfile();
    jx_bfile(const char* name, DWORD access, DWORD share_mode, const char* directory);
    ~jx_bfile();
    jx_bfile(const jx_bfile&) = delete;
    jx_bfile& operator=(const jx_bfile&) = delete;

    void open_file(const char* name, DWORD access, DWORD share_mode, const char* directory);
    void read(void* buffer, DWORD count);
    void write(const void* buffer, DWORD count);
    void move_ptr(LONG distance, DWORD method);
};
