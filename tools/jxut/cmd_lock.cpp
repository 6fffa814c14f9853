// jxut lock: who holds a data file on a network share, and releasing the lock
// that a crashed session left behind; and the demo's lock scene.
#include "command.h"

#include "jx6ut.h"

#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

namespace jxut {
namespace {

int run_lock(const Call& call);

const Command kLock = {
    "lock",
    "lock show DATA_FILE...\n"
    "lock release DATA_FILE [--force]",
    "who holds a data file's lock, and releasing a left-over lock",
    "A data file on a network drive that someone has open has a lock file\n"
    "beside it: the same name with the extension .lck. show tells for each\n"
    "data file whether there is one and, if so, who holds the file, which\n"
    "data file the lock names, when it was taken (local time) and how many\n"
    "hours ago. Exit status 1 when any file is held by another user or has a\n"
    "damaged lock file, which keeps everybody out until it is released.\n"
    "release deletes the lock file when it is your own; another user's lock,\n"
    "or a damaged one, only with --force, after saying whose it was. Release\n"
    "a lock only when its holder's session is gone: the holder's next save\n"
    "would otherwise go ahead beside a second editor.\n"
    "Forward slashes in names are taken as backslashes.",
    {{"--force", nullptr, "release a lock that is not your own, or a damaged one"}},
    "jxut lock show 'N:\\links\\north\\net.dat' 'N:\\links\\south\\net.dat'\n"
    "jxut lock release 'N:\\links\\north\\net.dat'\n"
    "jxut lock release --force /mnt/links/north/net.dat  # after checking with show",
    run_lock,
};

constexpr DWORD kRecordSize = sizeof(jx_lock_record);

// A lock file as read by the tool.
struct LockView {
    std::string lock_file;
    bool exists = false;
    std::string damage; // why it cannot be read as a lock; empty when sound
    jx_lock_record record = {};

    std::string user() const {
        return std::string(record.rec_user, strnlen(record.rec_user, sizeof record.rec_user));
    }
    std::string data_file() const {
        return std::string(record.rec_file, strnlen(record.rec_file, sizeof record.rec_file));
    }
};

std::string with_backslashes(std::string name) {
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}

// The lock file's name as the library forms it: the extension of the final
// component replaced by ".lck".
std::string lock_file_of(const std::string& data_file) {
    const std::string name = with_backslashes(data_file);
    return name.substr(0, static_cast<size_t>(get_extension(name.c_str()) - name.c_str())) + ".lck";
}

std::string one_line(const char* text) {
    std::string line;
    for (const char* p = text ? text : ""; *p; ++p)
        if (*p != '\r') line += *p == '\n' ? ' ' : *p;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

LockView read_lock(const std::string& data_file) {
    LockView view;
    view.lock_file = lock_file_of(data_file);
    Error_Handler record;
    try {
        jxfileio file(&record, view.lock_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        view.exists = true;
        const DWORD size = file.get_file_size();
        if (size < kRecordSize) {
            view.damage = "only " + std::to_string(size) + " bytes (a lock file has 537)";
            return view;
        }
        file.read(&view.record, kRecordSize);
        if (std::memcmp(view.record.rec_id, "JX40_FILE_LOCK", 15) != 0)
            view.damage = "not a lock file (it does not start with JX40_FILE_LOCK)";
    } catch (Error_Handler* failed) {
        const DWORD code = failed->last_error_code;
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return view;
        view.exists = true;
        view.damage = "cannot be read: " + one_line(failed->get_errormsg());
    }
    return view;
}

// "Fri Dec 04 14:14:53 2026, 1.25 hours ago", as the lock message says it.
std::string taken(const jx_lock_record& record) {
    const std::time_t when = static_cast<std::time_t>(record.rec_time);
    char date[64] = "(no date)";
    if (const std::tm* local = std::localtime(&when))
        std::strftime(date, sizeof date, "%a %b %d %H:%M:%S %Y", local);
    const DWORD now = static_cast<DWORD>(std::time(nullptr));
    char age[64];
    std::snprintf(age, sizeof age, "%.2f hours ago",
                  static_cast<int32_t>(now - record.rec_time) / 3600.0);
    return std::string(date) + " (local time), " + age;
}

// The logon name the library locks for.
std::string logon_name() {
    JX5file_Lock lock;
    return lock.lock_enabled ? lock.user_name : "";
}

int show(const Call& call, const Args& files) {
    const std::string me = logon_name();
    int status = kOk;
    for (const std::string& file : files) {
        const LockView view = read_lock(file);
        if (!view.exists) {
            out("%s: no lock file\n", file.c_str());
            continue;
        }
        if (!view.damage.empty()) {
            out("%s: damaged lock file %s: %s\n", file.c_str(), view.lock_file.c_str(),
                view.damage.c_str());
            status = kFailed;
            continue;
        }
        const bool mine = !me.empty() && view.user() == me;
        out("%s: held by %s%s\n", file.c_str(), view.user().c_str(),
            mine ? " (you)" : " (another user)");
        out("  lock file  %s\n  data file  %s\n  taken      %s\n", view.lock_file.c_str(),
            view.data_file().c_str(), taken(view.record).c_str());
        if (!mine) status = kFailed;
    }
    (void)call;
    return status;
}

// The library deletes a lock file when the lock object that holds it is
// reset; the tool takes that part for the lock it was asked to release.
bool delete_lock_file(const std::string& lock_file) {
    JX5file_Lock lock;
    std::snprintf(lock.lock_file_name, sizeof lock.lock_file_name, "%s", lock_file.c_str());
    lock.lock_enabled = true;
    lock.lock_state = JX5file_Lock::state_locked;
    lock.flck_reset();
    return true;
}

int release(const Call& call, const std::string& file) {
    const LockView view = read_lock(file);
    if (!view.exists) {
        out("%s: no lock file, nothing to release\n", file.c_str());
        return kOk;
    }
    const std::string me = logon_name();
    const bool mine = view.damage.empty() && !me.empty() && view.user() == me;
    if (!mine) {
        const std::string whose = view.damage.empty()
                                      ? "held by " + view.user() + " since " + taken(view.record)
                                      : "damaged: " + view.damage;
        if (!call.has("--force"))
            return call.fail(file + ": the lock file " + view.lock_file + " is " + whose +
                             "; give --force to release it");
        out("%s: the lock file %s was %s\n", file.c_str(), view.lock_file.c_str(), whose.c_str());
    }
    delete_lock_file(view.lock_file);
    if (read_lock(file).exists) return call.fail("cannot delete " + view.lock_file);
    out("%s: released (%s deleted)\n", file.c_str(), view.lock_file.c_str());
    return kOk;
}

int run_lock(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("give show or release");
    const Args files(args.begin() + 1, args.end());
    if (args[0] == "show") {
        if (call.has("--force")) return call.usage_error("--force goes with release");
        if (files.empty()) return call.usage_error("show needs at least one data file");
        return show(call, files);
    }
    if (args[0] == "release") {
        if (files.size() != 1) return call.usage_error("release takes one data file");
        return release(call, files[0]);
    }
    return call.usage_error("unknown operation '" + echo(args[0]) + "'");
}

// The demo's boxes are printed as what the user would see.
int print_box(void*, HWND, const char* text, const char* caption, UINT style) {
    expected(caption);
    std::string lines = "  ";
    for (const char* p = text; *p; ++p)
        if (*p != '\r') lines += *p == '\n' ? std::string("\n  ") : std::string(1, *p);
    out("%s\n", lines.c_str());
    return (style & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
}

const char* state_name(BYTE state) {
    static const char* const kNames[] = {"none", "failed", "local, not locked", "locked",
                                         "read-only"};
    return state < 5 ? kNames[state] : "?";
}

// Two engineers on one network file: A opens it, B (another logon name) is
// kept read-only and refused a save, B saves under a new name, and after A
// closes B may save under the first name. Where drive letters are the
// system's own the scene runs in a temporary folder, which is a local one.
void lock_scene(const std::string& share) {
    const std::string site = share + "\\site.dat";
    JX5file_Lock a, b;
    std::snprintf(b.user_name, sizeof b.user_name, "%s", "r.ahlgren");
    const auto report = [](const char* step, bool result, const JX5file_Lock& lock) {
        out("%s: %s, state %s\n", step, result ? "true" : "false", state_name(lock.lock_state));
    };
    report("A opens site.dat", a.flck_open(site.c_str()), a);
    if (a.lock_state == JX5file_Lock::state_local) {
        out("(nothing is locked on a local drive)\n");
        return;
    }
    const LockView view = read_lock(site);
    out("  lock file %s: %s, %s\n", view.lock_file.c_str(), view.user().c_str(),
        taken(view.record).c_str());
    report("B opens site.dat", b.flck_open(site.c_str()), b);
    report("B saves as SITE.DAT, the same file", b.flck_save((share + "\\SITE.DAT").c_str()), b);
    report("B saves as site-b.dat", b.flck_save((share + "\\site-b.dat").c_str()), b);
    a.flck_reset();
    out("A closes site.dat: its lock file is %s\n",
        read_lock(site).exists ? "still there" : "gone");
    report("B saves as site.dat", b.flck_save(site.c_str()), b);
    b.flck_reset();
}

int demo_lock(const std::string&) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error) /
                                         ("jxut-demo-lock-" + std::to_string(std::time(nullptr)));
    std::filesystem::create_directories(folder, error);
    const bool mapped = jx_map_drive_where_possible('N', folder.string().c_str(), DRIVE_REMOTE);
    const std::string share = mapped ? "N:" : folder.string();
    out("share: %s%s\n", share.c_str(), mapped ? " (a folder mapped as network drive N:)" : "");
    out("A is %s; B is r.ahlgren\n", logon_name().c_str());
    jx_set_message_box_handler(print_box, nullptr);
    lock_scene(share);
    jx_set_message_box_handler(nullptr, nullptr);
    if (mapped) jx_map_drive_where_possible('N', nullptr, 0);
    std::filesystem::remove_all(folder, error);
    return kOk;
}

const Registrar kLockCommand(kLock);
const Registrar kLockDemo(DemoStep{28, "Data-file lock", demo_lock});

} // namespace
} // namespace jxut
