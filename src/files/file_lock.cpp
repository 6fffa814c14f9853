// The data-file lock: a lock file beside a data file on a network drive says
// who has the data file open. Only the lock file's existence coordinates
// users; its test and its creation are separate steps, so two users opening
// at the same moment may both believe they hold the lock.
#include "file_lock.h"

#include "files/jxfileio.h"
#include "files/path_utils.h"
#include "frame/catalog.h"
#include "frame/catalog_ids.h"
#include "platform/ui_hooks.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kLockId[] = "JX40_FILE_LOCK";
constexpr DWORD kRecordSize = sizeof(jx_lock_record);
// Catalog texts of the lock message are held in 80 bytes each.
constexpr int kLockText = 80;

// The final component of a name: after its last backslash, else after its
// last colon, else the whole name. Reads at most `limit` characters, so a
// field without a terminator is never overrun.
size_t final_component_at(const char* name, size_t limit) {
    const size_t length = strnlen(name, limit);
    size_t start = 0;
    bool backslash = false;
    for (size_t i = 0; i < length; ++i) {
        if (name[i] == '\\') {
            start = i + 1;
            backslash = true;
        } else if (name[i] == ':' && !backslash) {
            start = i + 1;
        }
    }
    return start;
}

// Whether the data file lies on a network drive, judged by the root of its
// directory part (up to its last backslash, else its last colon).
bool on_network_drive(const char* name) {
    char directory[MAX_PATH] = "";
    const size_t length = strnlen(name, MAX_PATH - 1);
    const size_t cut = final_component_at(name, length);
    std::memcpy(directory, name, cut);
    directory[cut] = '\0';
    char root[MAX_PATH];
    set_rootdir(root, sizeof root, directory);
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}

void copy_field(char* out, size_t size, const char* text) {
    const size_t length = strnlen(text, size - 1);
    std::memcpy(out, text, length);
    out[length] = '\0';
}

} // namespace

JX5file_Lock::JX5file_Lock()
    : err(), lock_rec(), hwnd(nullptr), user_name(), data_file_name(), lock_file_name(),
      lock_enabled(false), lock_state(state_none) {
    DWORD size = 256;
    lock_enabled = GetUserNameA(user_name, &size) != FALSE;
    if (!lock_enabled) user_name[0] = '\0';
}

JX5file_Lock::~JX5file_Lock() = default;

void JX5file_Lock::set_hwnd(HWND window) {
    hwnd = window;
}

// The lock file is the data file's name with the extension of its final
// component replaced by ".lck" (appended when that component has no dot, so
// a dot in a folder's name is never taken for an extension). A name that
// does not fit 259 characters gets no lock file name, and taking the lock
// then fails as an over-long name does.
void JX5file_Lock::set_files(const char* name) {
    copy_field(data_file_name, sizeof data_file_name, name);
    lock_file_name[0] = '\0';
    if (std::strlen(name) >= sizeof data_file_name) return;
    const size_t stem = static_cast<size_t>(get_extension(data_file_name) - data_file_name);
    if (stem + 4 >= sizeof lock_file_name) return;
    std::memcpy(lock_file_name, data_file_name, stem);
    std::memcpy(lock_file_name + stem, ".lck", 5);
}

void JX5file_Lock::read_lock_file() {
    if (!lock_file_name[0]) {
        err.init_fileio(data_file_name);
        err.set_last_error_code(ERROR_FILENAME_EXCED_RANGE);
        throw &err;
    }
    jxfileio file(&err, lock_file_name, GENERIC_READ, FILE_SHARE_READ, nullptr);
    file.read(&lock_rec, kRecordSize); // a short read throws "Read error at end of file"
    // Only the identifier up to its terminator counts; what follows it in
    // the 16 bytes is not compared.
    if (std::memcmp(lock_rec.rec_id, kLockId, sizeof kLockId) != 0)
        file.throw_error_code(jx::catalog::kWrongFileFormat);
}

// A lock file that could not be written whole is removed again: left half
// written it would read as damaged and lock every user out of the data file
// until somebody deleted it by hand.
void JX5file_Lock::write_lock_file() {
    if (!lock_file_name[0]) {
        err.init_fileio(data_file_name);
        err.set_last_error_code(ERROR_FILENAME_EXCED_RANGE);
        throw &err;
    }
    bool created = false;
    try {
        jxfileio file(&err, lock_file_name, GENERIC_WRITE, 0, nullptr);
        created = true;
        std::memset(&lock_rec, 0, sizeof lock_rec);
        std::memcpy(lock_rec.rec_id, kLockId, sizeof kLockId);
        copy_field(lock_rec.rec_file, sizeof lock_rec.rec_file, data_file_name);
        copy_field(lock_rec.rec_user, sizeof lock_rec.rec_user, user_name);
        lock_rec.rec_time = static_cast<DWORD>(_time64(nullptr));
        file.write(&lock_rec, kRecordSize); // a short write throws "Insufficient disk space"
    } catch (Error_Handler*) {
        if (created) DeleteFileA(lock_file_name);
        throw;
    }
}

bool JX5file_Lock::flck_open(const char* name) {
    if (!lock_enabled) return true;
    if (!on_network_drive(name)) {
        lock_state = state_local;
        return true;
    }
    set_files(name);
    try {
        if (_access(lock_file_name, 0) != 0) {
            write_lock_file();
            lock_state = state_locked;
            return true;
        }
        read_lock_file();
        // The user's own lock, left over from an earlier run or held by
        // another instance of the application, is taken over silently.
        if (std::strncmp(lock_rec.rec_user, user_name, sizeof lock_rec.rec_user) == 0) {
            write_lock_file();
            lock_state = state_locked;
            return true;
        }
    } catch (Error_Handler*) {
        lock_state = state_failed;
        err.show_errormsg(hwnd, false);
        return false;
    }
    lock_state = state_read_only;
    display_lockfile(false);
    return true;
}

bool JX5file_Lock::flck_save(const char* name) {
    if (!lock_enabled) return true;
    const bool same = _stricmp(name, data_file_name) == 0;
    switch (lock_state) {
    case state_none:
        return change_filelock(name);
    case state_local:
    case state_locked:
        return same ? true : change_filelock(name);
    case state_read_only:
        if (!same || _access(lock_file_name, 0) != 0) return change_filelock(name);
        return display_lockfile(true);
    default: // failed, or a state the lock never sets: no save until reset
        return false;
    }
}

bool JX5file_Lock::change_filelock(const char* name) {
    if (lock_enabled) flck_reset();
    if (!on_network_drive(name)) {
        lock_state = state_local;
        return true;
    }
    // A save under a new name takes the lock there unconditionally, even
    // over another user's lock file.
    set_files(name);
    try {
        write_lock_file();
    } catch (Error_Handler*) {
        lock_state = state_failed;
        err.show_errormsg(hwnd, false);
        return false;
    }
    lock_state = state_locked;
    return true;
}

void JX5file_Lock::flck_reset() {
    if (!lock_enabled) return;
    if (lock_state == state_locked) DeleteFileA(lock_file_name); // a failure changes nothing
    lock_state = state_none;
    data_file_name[0] = '\0';
    lock_file_name[0] = '\0';
}

// The message reads, line by line: the file's name; who holds it; when it
// was opened (the ctime form ends in its own line feed) and how many hours
// ago; that it opens read-only. The age is signed, so a clock that went
// back shows a negative age rather than a huge one.
bool JX5file_Lock::display_lockfile(bool /*while_saving: same text*/) {
    char texts[6][kLockText];
    using namespace jx::catalog;
    const int ids[6] = {kLockTitle,    kLockFile,     kLockInUseBy,
                        kLockOpenedOn, kLockHoursAgo, kLockReadOnly};
    for (int i = 0; i < 6; ++i) jx::frame::load_catalog_text(ids[i], texts[i], kLockText);

    const char* file = lock_rec.rec_file;
    const int file_length = static_cast<int>(strnlen(file, sizeof lock_rec.rec_file));
    const size_t start = final_component_at(file, file_length);
    const int user_length = static_cast<int>(strnlen(lock_rec.rec_user, sizeof lock_rec.rec_user));

    char date[32];
    const __time64_t taken = lock_rec.rec_time;
    if (_ctime64_s(date, sizeof date, &taken) != 0) date[0] = '\0';
    const DWORD now = static_cast<DWORD>(_time64(nullptr));
    const double hours = static_cast<int32_t>(now - lock_rec.rec_time) / 3600.0;

    char text[1024];
    std::snprintf(text, sizeof text, "%s %.*s\r\n%s %.*s\r\n%s %s (%.2f %s)\r\n%s", texts[1],
                  file_length - static_cast<int>(start), file + start, texts[2], user_length,
                  lock_rec.rec_user, texts[3], date, hours, texts[4], texts[5]);
    jx_message_box(nullptr, text, texts[0], MB_OK | MB_ICONERROR);
    return false;
}
