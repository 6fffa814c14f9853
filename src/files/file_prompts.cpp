// File-name checks and the prompts around saving.
#include "file_prompts.h"

#include "files/path_utils.h"
#include "frame/catalog.h"
#include "frame/catalog_ids.h"
#include "platform/ui_hooks.h"
#include "textimport/field_functions.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

using jx::frame::load_catalog_text;
using namespace jx::catalog;

constexpr size_t kPathLimit = MAX_PATH - 1;
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_BROWSEINCLUDEFILES;

// Fills a catalog text's conversions in order: each "%s" or "%d" takes the
// next value (numbers come already written), "%%" gives one percent sign,
// and anything else is copied as it stands. A translated text with other
// conversions can so never read arguments that are not there.
void fill_catalog_text(const char* pattern, std::initializer_list<const char*> values, char* out,
                       size_t size) {
    std::string text;
    auto next = values.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd')) {
            if (next != values.end()) text += *next++;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            text += '%';
            ++p;
        } else {
            text += *p;
        }
    }
    std::snprintf(out, size, "%s", text.c_str());
}

// Where the file-name part starts: after the last backslash, else after the
// last colon, else at the start.
size_t name_start(const char* path) {
    const char* backslash = std::strrchr(path, '\\');
    if (backslash) return static_cast<size_t>(backslash - path) + 1;
    const char* colon = std::strrchr(path, ':');
    return colon ? static_cast<size_t>(colon - path) + 1 : 0;
}

// Replaces or drops the characters of `part` that `illegal` says are
// refused; true when there was any.
template <class Illegal> bool repair(std::string& part, char replacement, Illegal illegal) {
    std::string out;
    bool found = false;
    for (size_t i = 0; i < part.size(); ++i) {
        if (!illegal(part[i], i)) {
            out += part[i];
            continue;
        }
        found = true;
        if (replacement) out += replacement;
    }
    part.swap(out);
    return found;
}

// The folder handed to the dialog's callback; one dialog at a time.
const char* g_initial_folder = nullptr;

int CALLBACK folder_dialog_callback(HWND dialog, UINT message, LPARAM lparam, LPARAM) {
    if (message == BFFM_INITIALIZED) {
        if (g_initial_folder)
            jx_dialog_message(dialog, BFFM_SETSELECTIONA, TRUE,
                              reinterpret_cast<LPARAM>(g_initial_folder));
    } else if (message == BFFM_SELCHANGED) {
        char path[MAX_PATH];
        char status[MAX_PATH];
        const std::string text =
            SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lparam), path)
                ? std::string("Directory : ") + path
                : std::string("Invalid directory");
        std::snprintf(status, sizeof status, "%s", text.c_str()); // cut to 259 characters
        jx_dialog_message(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status));
    }
    return 0;
}

} // namespace

// A path without a folder part (a bare name, or a name after a leading
// backslash) gets its repaired name written back too, after what stood
// before it: a path reported as repaired must not still hold the characters
// that made it illegal.
bool fix_illegal_char(char* path, unsigned int size, char replacement) {
    if (!path || size == 0) return false;
    if (strnlen(path, size) == size) path[size - 1] = '\0';
    strip_space_quotes(path);

    const size_t start = name_start(path);
    std::string name = path + start;
    std::string directory = get_directory(path);
    const bool bad_name = repair(
        name, replacement, [](char c, size_t) { return std::strchr("\"*/:<>?\\|", c) != nullptr; });
    const bool bad_directory = repair(directory, replacement, [](char c, size_t at) {
        return std::strchr("*/:<>?|", c) != nullptr && !(c == ':' && at == 1);
    });
    if (!bad_name && !bad_directory) return false;
    if (name.size() > kPathLimit) name.resize(kPathLimit);
    if (directory.size() > kPathLimit) directory.resize(kPathLimit);

    std::string result;
    if (!directory.empty())
        result = directory + "\\" + name;
    else
        result = std::string(path, start) + name;
    std::snprintf(path, size, "%s", result.c_str());
    return true;
}

int validate_file_name(HWND owner, char* path, unsigned int size) {
    if (!path) return 0;
    const size_t length = strnlen(path, size ? size : MAX_PATH);
    if (length > kPathLimit) {
        char too_long[128], pattern[128], caption[128], limits[128];
        load_catalog_text(kFileNameTooLong, too_long, sizeof too_long);
        load_catalog_text(kFileNameLength, pattern, sizeof pattern);
        load_catalog_text(kFileError, caption, sizeof caption);
        char count[24], limit[24];
        std::snprintf(count, sizeof count, "%lu", static_cast<unsigned long>(length));
        std::snprintf(limit, sizeof limit, "%lu", static_cast<unsigned long>(kPathLimit));
        fill_catalog_text(pattern, {count, limit}, limits, sizeof limits);
        char text[1024];
        std::snprintf(text, sizeof text, "%.*s\r\n\r\n%s\r\n%s", static_cast<int>(length), path,
                      too_long, limits);
        jx_message_box(owner, text, caption, MB_OK | MB_ICONERROR);
        return 1;
    }
    if (!fix_illegal_char(path, size, '_')) return 0;
    return path[0] ? 3 : 2;
}

int check_overwrite_file(HWND owner, const char* path) {
    if (!path || _access(path, 0) != 0) return IDYES;
    char caption[128], question[128];
    load_catalog_text(kFileExists, caption, sizeof caption);
    load_catalog_text(kReplaceFile, question, sizeof question);
    char text[1024];
    std::snprintf(text, sizeof text, "%s\n%s", question, path + name_start(path));
    return jx_message_box(owner, text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
}

int check_for_filesave(const char* caption, const char* path, bool offer_cancel) {
    char text[MAX_PATH];
    if (path && *path) {
        char pattern[80];
        load_catalog_text(kFileChanged, pattern, sizeof pattern);
        fill_catalog_text(pattern, {path + name_start(path)}, text, sizeof text);
    } else {
        load_catalog_text(kUnnamedFileChanged, text, sizeof text);
    }
    const UINT buttons = offer_cancel ? MB_YESNOCANCEL : MB_YESNO;
    return jx_message_box(nullptr, text, caption, buttons | MB_ICONQUESTION);
}

// The chosen item is released once its path has been read: the shell hands
// it to the caller, and nothing else would ever free it.
void set_fdir(HWND owner, const char* title, char* directory, unsigned int size) {
    if (!directory || size == 0) return;
    char display_name[MAX_PATH] = "";
    // No root: the whole namespace.
    BROWSEINFOA request = {
        owner, nullptr, display_name, title, kBrowseFlags, folder_dialog_callback, 0, 0};
    g_initial_folder = directory;
    LPITEMIDLIST chosen = jx_browse_for_folder(&request);
    g_initial_folder = nullptr;
    if (!chosen) {
        directory[0] = '\0';
        return;
    }
    char path[MAX_PATH];
    if (SHGetPathFromIDListA(chosen, path)) std::snprintf(directory, size, "%s", path);
    ILFree(chosen);
}
