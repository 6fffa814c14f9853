// Advisory locking of data files on network drives.
//
// While a user has a data file open, a lock file beside it (the data file's
// name with the extension ".lck") names the user and when the file was
// opened. A second user who opens the file is told who holds it and works
// read-only. Files on local drives are never locked.
#pragma once

#include "frame/error_handler.h"

#include <cstddef>

// The lock file, byte for byte: 537 bytes without padding, little-endian.
#pragma pack(push, 1)
struct jx_lock_record {
    char rec_id[16];    // "JX40_FILE_LOCK", terminator, zero fill
    char rec_file[260]; // the locked data file's full name
    char rec_user[257]; // the logon name of the user who holds the lock
    DWORD rec_time;     // low 32 bits of the calendar time when it was taken
};
#pragma pack(pop)
static_assert(sizeof(jx_lock_record) == 537, "the lock file holds 537 bytes");
static_assert(offsetof(jx_lock_record, rec_file) == 16, "data file name at 16");
static_assert(offsetof(jx_lock_record, rec_user) == 276, "user name at 276");
static_assert(offsetof(jx_lock_record, rec_time) == 533, "time at 533");

class JX_API JX5file_Lock {
public:
    // The record that every lock-file failure fills; the lock's operations
    // throw and catch it internally and show it.
    Error_Handler err;
    jx_lock_record lock_rec;
    HWND hwnd;
    char user_name[257];
    char data_file_name[260];
    char lock_file_name[260];
    bool lock_enabled; // false when the logon name could not be read
    BYTE lock_state;   // one of the states below

    enum : BYTE {
        state_none = 0,
        state_failed = 1,    // the lock file could not be read or written
        state_local = 2,     // not on a network drive: nothing locked
        state_locked = 3,    // this user holds the lock
        state_read_only = 4, // another user holds the lock
    };

    JX5file_Lock();
    // Leaves any lock file behind: a later open by the same user takes it
    // over.
    ~JX5file_Lock();

    void set_hwnd(HWND window);
    // Takes or inspects the lock of a data file being opened; false only
    // when the lock file could not be read or written (the error is shown).
    bool flck_open(const char* name);
    // Whether the data file may be saved under `name`; a save under another
    // name moves the lock there.
    bool flck_save(const char* name);
    // Releases this user's lock when the data file is closed.
    void flck_reset();

private:
    void set_files(const char* name);
    void read_lock_file();
    void write_lock_file();
    bool display_lockfile(bool while_saving);
    bool change_filelock(const char* name);
};
