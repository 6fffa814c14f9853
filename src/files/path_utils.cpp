// Splitting, joining and converting Windows paths.
//
// Every result buffer holds 259 characters and the terminator. A result that
// would be longer is never cut into a different path: the functions that can
// answer null do so, get_directory answers with an empty text, set_rootdir
// leaves an empty destination. The one exception is an already absolute path
// given to rel_to_abs_path, which comes back cut to 259 characters as the
// host expects. Arguments themselves may be of any length.
#include "path_utils.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace {

constexpr size_t kLongestPath = MAX_PATH - 1;

// The shared result buffers, one per function.
char g_set_path[MAX_PATH];
char g_directory[MAX_PATH];
char g_absolute[MAX_PATH];
char g_relative[MAX_PATH];

// Copies `length` characters of `text` into a result buffer, or empties it
// and answers false when they do not fit.
bool put_result(char* buffer, const char* text, size_t length) {
    if (length > kLongestPath) {
        buffer[0] = '\0';
        return false;
    }
    std::memmove(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

// The root of a path that begins with two backslashes: the server and share
// of a network path ("\\srv\share\"), the drive or device after a "\\?\" or
// "\\.\" prefix ("\\?\C:\"), and the server and share after "\\?\UNC\".
// These are the roots that Windows answers a drive type for.
std::string network_root(const char* path) {
    size_t start = 2;
    if (_strnicmp(path, "\\\\?\\UNC\\", 8) == 0) start = 8;
    size_t end = start;
    for (int component = 0; component < 2 && path[end]; ++component) {
        while (path[end] && path[end] != '\\') ++end;
        if (component == 0 && path[end] == '\\') ++end;
    }
    std::string root(path, end);
    if (root.back() != '\\') root += '\\';
    return root;
}

// ---------------------------------------------------------------------------
// The generic decomposition of get_filename_c and get_directory_c, on UTF-16.

using WideString = std::basic_string<WCHAR>;

bool is_separator(WCHAR c) {
    return c == '\\' || c == '/';
}

bool is_drive_letter(WCHAR c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct PathParts {
    size_t root_end;   // end of the root name and root directory
    size_t file_name;  // start of the file-name component
    bool has_relative; // whether anything follows the root
};

// The root name is a drive ("C:"), a device prefix ("\\?\", "\\.\", "\??\",
// either separator in each place) or a server ("\\srv"); the root directory
// is the separators after it.
PathParts split(const WideString& path) {
    const size_t n = path.size();
    size_t root_name = 0;
    if (n >= 2 && is_drive_letter(path[0]) && path[1] == ':') {
        root_name = 2;
    } else if (n >= 4 && is_separator(path[3]) && (n == 4 || !is_separator(path[4])) &&
               ((is_separator(path[0]) && is_separator(path[1]) &&
                 (path[2] == '?' || path[2] == '.')) ||
                (is_separator(path[0]) && path[1] == '?' && path[2] == '?'))) {
        root_name = 3;
    } else if (n >= 3 && is_separator(path[0]) && is_separator(path[1]) && !is_separator(path[2])) {
        root_name = 3;
        while (root_name < n && !is_separator(path[root_name])) ++root_name;
    }
    size_t root_end = root_name;
    while (root_end < n && is_separator(path[root_end])) ++root_end;
    size_t file_name = n;
    while (file_name > root_end && !is_separator(path[file_name - 1])) --file_name;
    return {root_end, file_name, root_end < n};
}

[[noreturn]] void throw_conversion_error() {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "path not convertible in the system code page");
}

WideString to_wide(const char* path) {
    const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (size <= 0) throw_conversion_error();
    WideString wide(static_cast<size_t>(size), WCHAR());
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, &wide[0], size) != size)
        throw_conversion_error();
    wide.resize(static_cast<size_t>(size) - 1);
    return wide;
}

std::string to_ansi(const WCHAR* wide, size_t length) {
    if (length == 0) return std::string();
    const int count = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    if (size <= 0) throw_conversion_error();
    std::string text(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, count, &text[0], size, nullptr, nullptr) != size)
        throw_conversion_error();
    return text;
}

} // namespace

char* get_filename(char* path) {
    if (!path) return nullptr;
    if (char* slash = std::strrchr(path, '\\')) return slash + 1;
    if (char* colon = std::strrchr(path, ':')) return colon + 1;
    return path;
}

// A dot in a folder name is no extension: only the file-name part counts.
char* get_extension(char* path) {
    if (!path) return nullptr;
    char* name = get_filename(path);
    if (char* dot = std::strrchr(name, '.')) return dot;
    return name + std::strlen(name);
}

// The folder of a path longer than 259 characters is still found whenever it
// fits the buffer itself; only a longer folder gives the empty text.
char* get_directory(char* path) {
    g_directory[0] = '\0';
    if (!path) return g_directory;
    size_t cut = 0;
    if (const char* slash = std::strrchr(path, '\\'))
        cut = static_cast<size_t>(slash - path) + 1;
    else if (const char* colon = std::strrchr(path, ':'))
        cut = static_cast<size_t>(colon - path) + 1;
    if (cut > 0 && path[cut - 1] == '\\') --cut;
    put_result(g_directory, path, cut);
    return g_directory;
}

// A null path is taken as the empty path.
std::string get_filename_c(const char* path) {
    const WideString wide = to_wide(path ? path : "");
    const PathParts parts = split(wide);
    return to_ansi(wide.data() + parts.file_name, wide.size() - parts.file_name);
}

std::string get_directory_c(const char* path) {
    const WideString wide = to_wide(path ? path : "");
    const PathParts parts = split(wide);
    if (!parts.has_relative) return to_ansi(wide.data(), wide.size());
    size_t end = parts.file_name;
    while (end > parts.root_end && is_separator(wide[end - 1])) --end;
    return to_ansi(wide.data(), end);
}

// An empty (or null) folder gives the file name alone, a name in the current
// folder: a leading backslash would move it to the root of the drive.
char* set_path(char* directory, char* file_name, bool must_exist) {
    g_set_path[0] = '\0';
    if (!file_name) return nullptr;
    if (!directory) directory = const_cast<char*>("");
    const size_t folder = std::strlen(directory);
    const size_t name = std::strlen(file_name);
    const bool separator = folder > 0 && directory[folder - 1] != '\\';
    if (folder + separator + name > kLongestPath) return nullptr;
    std::memcpy(g_set_path, directory, folder);
    if (separator) g_set_path[folder] = '\\';
    std::memcpy(g_set_path + folder + separator, file_name, name + 1);
    if (must_exist && _access(g_set_path, 0) != 0) return nullptr;
    return g_set_path;
}

// A network path is cut to its server and share. Taking it whole, as a plain
// path's first folder would suggest, names no root that Windows gives a drive
// type for, and a data file on a share would not count as on the network.
void set_rootdir(char* destination, int size, char* path) {
    if (!destination || size <= 0) return;
    std::memset(destination, 0, static_cast<size_t>(size));
    if (!path) return;
    std::string root;
    const size_t length = std::strlen(path);
    if (path[0] == '\\' && path[1] == '\\') {
        root = network_root(path);
    } else if (length == 2 && path[1] == ':') {
        root = std::string(path) + '\\';
    } else if (const char* slash = std::strchr(path, '\\')) {
        root.assign(path, static_cast<size_t>(slash - path) + 1);
    } else {
        root = path;
    }
    if (root.size() > kLongestPath) return;
    const size_t copied = root.size() < static_cast<size_t>(size) - 1 ? root.size() : size - 1;
    std::memcpy(destination, root.data(), copied);
}

bool is_network_drive(char* path) {
    char root[MAX_PATH];
    set_rootdir(root, sizeof root, path);
    return root[0] != '\0' && GetDriveTypeA(root) == DRIVE_REMOTE;
}

// Only leading ".\" and "..\" are understood; a relative path with either
// further in is refused. Empty texts take the same steps as any other: an
// empty base gives a path from the root of the current drive (".\a" gives
// "\a"), an empty relative path the base with a backslash. An absolute path
// comes back as it is, cut to the 259 characters a path may have.
char* rel_to_abs_path(char* relative, char* base_directory) {
    g_absolute[0] = '\0';
    if (!relative || !base_directory) return nullptr;
    if ((relative[0] && relative[1] == ':') || (relative[0] == '\\' && relative[1] == '\\')) {
        put_result(g_absolute, relative, std::min(std::strlen(relative), kLongestPath));
        return g_absolute;
    }
    if (!put_result(g_absolute, base_directory, std::strlen(base_directory))) return nullptr;

    const char* rest = relative;
    if (std::strncmp(rest, ".\\", 2) == 0) rest += 2;
    int levels = 0;
    while (std::strncmp(rest, "..\\", 3) == 0) {
        rest += 3;
        ++levels;
    }
    if (std::strstr(rest, ".\\")) {
        g_absolute[0] = '\0';
        return nullptr;
    }
    size_t length = std::strlen(g_absolute);
    if (length > 0 && g_absolute[length - 1] == '\\') g_absolute[--length] = '\0';
    for (; levels > 0; --levels) {
        char* slash = std::strrchr(g_absolute, '\\');
        if (!slash) {
            g_absolute[0] = '\0';
            return nullptr;
        }
        *slash = '\0';
    }
    length = std::strlen(g_absolute);
    const size_t rest_length = std::strlen(rest);
    if (length + 1 + rest_length > kLongestPath) {
        g_absolute[0] = '\0';
        return nullptr;
    }
    g_absolute[length] = '\\';
    std::memcpy(g_absolute + length + 1, rest, rest_length + 1);
    return g_absolute;
}

// The comparison is exact, case included: "c:\proj" and "C:\proj" share no
// folder here. It stops at the end of the shorter path, so a path compared
// with itself gives ".\" and its file name.
char* abs_to_rel_path(char* absolute, char* base_file) {
    g_relative[0] = '\0';
    if (!absolute || !base_file || !*absolute || absolute[0] != base_file[0]) return nullptr;
    size_t common = 0;
    while (absolute[common] && absolute[common] == base_file[common]) ++common;
    if (common < 3) return nullptr;

    size_t split = common;
    if (absolute[split] != '\\') {
        while (split > 0 && absolute[split - 1] != '\\') --split;
        if (split == 0) return nullptr;
        --split;
    }
    // The base may end exactly at the split point; it then has no levels.
    int levels = 0;
    if (base_file[split])
        for (size_t i = split + 1; base_file[i]; ++i)
            if (base_file[i] == '\\' && base_file[i + 1]) ++levels;

    std::string result = levels == 0 ? ".\\" : "";
    for (int i = 0; i < levels; ++i) result += "..\\";
    result += absolute + split + 1;
    return put_result(g_relative, result.data(), result.size()) ? g_relative : nullptr;
}
