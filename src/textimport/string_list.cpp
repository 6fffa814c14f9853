// string_list: a text file read whole and cut into lines.
//
// The file is read into one block and cut in place: each line feed (and a
// carriage return just before it) becomes a terminator and `strings` points
// at the line starts inside the block. Nothing is copied line by line, so a
// list costs the file's size plus twelve bytes a line (eight on 32-bit
// Windows) however many lines there are.
#include "string_list.h"

#include "files/jxfileio.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// The block that the lines point into is owned through the `strings` array,
// which is allocated one entry longer at its front to hold it: the three
// public fields are the whole of the list's layout, which the host compiles
// against and which sits inside txtimport_format.
char** allocate_strings(size_t entries, char* block) {
    char** base = new (std::nothrow) char*[entries + 1];
    if (!base) return nullptr;
    base[0] = block;
    return base + 1;
}

void free_strings(char** strings) {
    if (!strings) return;
    delete[] strings[-1];
    delete[](strings - 1);
}

// A text file may hold any byte but 1 to 8, 11, 12, 14 to 25 and 27 to 29:
// 0, tab, line feed, carriage return, the end-of-file mark 26, 30, 31 and
// everything from the blank up (the upper half of the code page included).
// Written as range tests, not a table, so that the compiler can check many
// bytes at once.
inline unsigned char forbidden(unsigned char c) {
    return static_cast<unsigned char>(static_cast<unsigned char>(c - 1) < 8) |
           static_cast<unsigned char>(static_cast<unsigned char>(c - 11) < 2) |
           static_cast<unsigned char>(static_cast<unsigned char>(c - 14) < 12) |
           static_cast<unsigned char>(static_cast<unsigned char>(c - 27) < 3);
}

// Checks every byte and counts the line feeds; false at a forbidden byte.
bool scan_text(const unsigned char* text, size_t size, size_t& line_feeds) {
    constexpr size_t kChunk = 4096;
    line_feeds = 0;
    for (size_t at = 0; at < size; at += kChunk) {
        const size_t n = std::min(kChunk, size - at);
        const unsigned char* p = text + at;
        unsigned char bad = 0;
        unsigned feeds = 0;
        for (size_t i = 0; i < n; ++i) {
            bad |= forbidden(p[i]);
            feeds += p[i] == '\n';
        }
        if (bad) return false;
        line_feeds += feeds;
    }
    return true;
}

// Frees the lines, their block and both arrays, leaving an empty list.
void clear(string_list& list) {
    free_strings(list.strings);
    delete[] list.line_index;
    list.strings = nullptr;
    list.line_index = nullptr;
    list.count = 0;
}

[[noreturn]] void throw_out_of_memory(Error_Handler* record) {
    record->set_last_error_code(ERROR_NOT_ENOUGH_MEMORY);
    throw record;
}

} // namespace

string_list::string_list() : strings(nullptr), line_index(nullptr), count(0) {}

string_list::string_list(Error_Handler* record, const char* file_name) : string_list() {
    init_string_list(record, file_name);
}

string_list::~string_list() {
    clear(*this);
}

string_list::string_list(const string_list& other) : string_list() {
    *this = other;
}

// The copy packs the other list's lines into a block of its own.
string_list& string_list::operator=(const string_list& other) {
    if (this == &other) return *this;
    if (!other.strings || other.count <= 0) {
        clear(*this);
        return *this;
    }
    const size_t n = static_cast<size_t>(other.count);
    size_t bytes = 0;
    for (size_t i = 0; i < n; ++i) bytes += std::strlen(other.strings[i]) + 1;

    char* block = new char[bytes];
    char** new_strings = allocate_strings(n, block);
    int* new_index = new (std::nothrow) int[n];
    if (!new_strings || !new_index) {
        if (new_strings)
            free_strings(new_strings);
        else
            delete[] block;
        delete[] new_index;
        throw std::bad_alloc();
    }
    char* at = block;
    for (size_t i = 0; i < n; ++i) {
        const size_t length = std::strlen(other.strings[i]) + 1;
        std::memcpy(at, other.strings[i], length);
        new_strings[i] = at;
        new_index[i] = other.line_index ? other.line_index[i] : static_cast<int>(i);
        at += length;
    }
    clear(*this);
    strings = new_strings;
    line_index = new_index;
    count = other.count;
    return *this;
}

void string_list::init_string_list(Error_Handler* record, const char* file_name) {
    jxfileio file(record, file_name, GENERIC_READ, FILE_SHARE_READ, nullptr);

    // The high half of the size is asked for too: a file of 4 GiB or more
    // would otherwise pass for a small one and be read in part.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file.hfile, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        record->set_last_error_code(GetLastError());
        throw record;
    }
    if (high != 0 || static_cast<unsigned long long>(low) + 2 > SIZE_MAX)
        throw_out_of_memory(record);
    const size_t size = low;
    if (size == 0) file.throw_error_code(155);

    // Two spare bytes: the last line always finds a terminator.
    char* block = new (std::nothrow) char[size + 2];
    if (!block) throw_out_of_memory(record);
    try {
        file.read(block, low);
    } catch (...) {
        delete[] block;
        throw;
    }
    block[size] = '\0';
    block[size + 1] = '\0';

    size_t line_feeds = 0;
    if (!scan_text(reinterpret_cast<const unsigned char*>(block), size, line_feeds)) {
        delete[] block;
        clear(*this);
        record->set_error_type(2);
        file.throw_error_code(342);
    }
    if (line_feeds >= static_cast<size_t>(INT_MAX)) {
        delete[] block;
        throw_out_of_memory(record);
    }

    const size_t entries = line_feeds + 1;
    char** new_strings = allocate_strings(entries, block);
    int* new_index = new (std::nothrow) int[entries];
    if (!new_strings || !new_index) {
        if (new_strings)
            free_strings(new_strings);
        else
            delete[] block;
        delete[] new_index;
        throw_out_of_memory(record);
    }

    int stored = 0;
    char* p = block;
    char* const end = block + size;
    while (p < end) {
        char* feed = static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!feed) {
            // Text after the last line feed is the final line; a carriage
            // return at its end stays part of it.
            new_strings[stored] = p;
            new_index[stored] = stored;
            ++stored;
            break;
        }
        if (feed == p) { // an empty line stores nothing
            ++p;
            continue;
        }
        *feed = '\0';
        if (feed[-1] == '\r') feed[-1] = '\0';
        new_strings[stored] = p;
        new_index[stored] = stored;
        ++stored;
        p = feed + 1;
    }
    std::fill(new_strings + stored, new_strings + entries, nullptr);
    std::fill(new_index + stored, new_index + entries, 0);

    clear(*this);
    if (stored == 0) {
        // A file of line feeds only: nothing points into the block, so the
        // list is left truly empty rather than holding it.
        free_strings(new_strings);
        delete[] new_index;
        return;
    }
    strings = new_strings;
    line_index = new_index;
    count = stored;
}

unsigned string_list::get_maxstrlen() const {
    size_t longest = 0;
    for (int i = 0; i < count; ++i)
        if (strings[i]) longest = std::max(longest, std::strlen(strings[i]));
    return static_cast<unsigned>(std::min<size_t>(longest, UINT_MAX));
}
