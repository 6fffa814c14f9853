// string_list: a text file read whole and cut into lines.
//
// The file is read into one block and cut in place: each line feed (and a
// carriage return just before it) becomes a terminator and `strings` points
// at the line starts inside the block. Nothing is copied line by line, so a
// list costs the file's size plus twelve bytes a line (eight on 32-bit
// Windows) however many lines there are.
#include "string_list.h"

#include "files/jxfileio.h"
#include "frame/catalog_ids.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The block that the lines point into is owned through the `strings` array,
// which is allocated one entry longer at its front to hold it: the three
// public fields are the whole of the list's layout, which the host compiles
// against and which sits inside txtimport_format.
//
// The text is a region of its own (VirtualAlloc), which the system fills
// with fewer, larger pages than the heap would: a file of tens of megabytes
// then reads in about half the time. The arrays come from malloc, so that
// they can grow in place while a file is cut.
char* allocate_text(size_t size) {
    return static_cast<char*>(
        VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void free_text(char* text) {
    if (text) VirtualFree(text, 0, MEM_RELEASE);
}

void free_strings(char** strings) {
    if (!strings) return;
    free_text(strings[-1]);
    std::free(strings - 1);
}

// Frees the lines, their block and both arrays, leaving an empty list.
void clear(string_list& list) {
    free_strings(list.strings);
    std::free(list.line_index);
    list.strings = nullptr;
    list.line_index = nullptr;
    list.count = 0;
}

// A text file may hold any byte but 1 to 8, 11, 12, 14 to 25 and 27 to 29:
// 0, tab, line feed, carriage return, the end-of-file mark 26, 30, 31 and
// everything from the blank up (the upper half of the code page included).
inline bool forbidden(unsigned char c) {
    return static_cast<unsigned char>(c - 1) < 8 || static_cast<unsigned char>(c - 11) < 2 ||
           static_cast<unsigned char>(c - 14) < 12 || static_cast<unsigned char>(c - 27) < 3;
}

// Sixteen bytes at a time: the compiler turns these into vector
// instructions where the processor has them and into plain byte loops where
// it has not. A compare yields all ones in each lane that matches.
typedef unsigned char Lanes __attribute__((vector_size(16)));

// Marks in `bad` the lanes of the sixteen bytes at `p` that a text file may
// not hold: a byte below 30 is forbidden unless it is one of the five
// allowed ones. (Vectors are passed by reference: by value they would
// depend on the processor's vector registers for the calling convention.)
inline void mark_forbidden(Lanes& bad, const unsigned char* p) {
    Lanes c;
    std::memcpy(&c, p, sizeof c);
    const Lanes low = (Lanes)(c < 30);
    const Lanes allowed =
        (Lanes)(c == 0) | (Lanes)(c == 9) | (Lanes)(c == 10) | (Lanes)(c == 13) | (Lanes)(c == 26);
    bad |= low & ~allowed;
}

bool is_text(const unsigned char* text, size_t size) {
    size_t at = 0;
    Lanes bad = {};
    for (; size - at >= sizeof(Lanes); at += sizeof(Lanes)) mark_forbidden(bad, text + at);
    unsigned char any = 0;
    for (size_t lane = 0; lane < sizeof(Lanes); ++lane) any |= bad[lane];
    for (; at < size; ++at) any |= forbidden(text[at]);
    return !any;
}

// A list under construction: the file's text and the growing arrays of its
// lines, all released unless they are handed over to a list.
class Lines {
public:
    ~Lines() {
        free_text(text_);
        std::free(base_);
        std::free(index_);
    }
    char* allocate(size_t size) { return text_ = allocate_text(size); }
    bool add(char* line) {
        if (count_ == capacity_ && !grow()) return false;
        base_[count_ + 1] = line;
        index_[count_] = static_cast<int>(count_);
        ++count_;
        return true;
    }
    size_t count() const { return count_; }
    // Gives the text and arrays to the list, which must be empty.
    void hand_over(string_list& list) {
        base_[0] = text_;
        list.strings = base_ + 1;
        list.line_index = index_;
        list.count = static_cast<int>(count_);
        text_ = nullptr;
        base_ = nullptr;
        index_ = nullptr;
    }

private:
    // The arrays double, so a file of many short lines costs few copies; a
    // large block grows in place where the C library can remap it. `count`
    // is an int, which bounds the lines a list can hold.
    bool grow() {
        constexpr size_t kMostLines = static_cast<size_t>(INT_MAX) - 1;
        if (capacity_ >= kMostLines) return false;
        const size_t wanted = capacity_ ? std::min(capacity_ * 2, kMostLines) : 1024;
        auto* base = static_cast<char**>(std::realloc(base_, (wanted + 1) * sizeof(char*)));
        if (!base) return false;
        base_ = base;
        auto* index = static_cast<int*>(std::realloc(index_, wanted * sizeof(int)));
        if (!index) return false;
        index_ = index;
        capacity_ = wanted;
        return true;
    }
    char* text_ = nullptr;
    char** base_ = nullptr;
    int* index_ = nullptr;
    size_t count_ = 0;
    size_t capacity_ = 0;
};

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

    Lines copy;
    char* at = copy.allocate(bytes);
    if (!at) throw std::bad_alloc();
    for (size_t i = 0; i < n; ++i) {
        const size_t length = std::strlen(other.strings[i]) + 1;
        std::memcpy(at, other.strings[i], length);
        if (!copy.add(at)) throw std::bad_alloc();
        at += length;
    }
    clear(*this);
    copy.hand_over(*this);
    return *this;
}

// The file is read in pieces small enough to stay in the processor's cache
// while each is checked and cut, so that the text is fetched from memory
// once. Every piece is checked before anything is handed to the list: a
// forbidden byte at the very end still refuses the whole file.
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
    if (size == 0) file.throw_error_code(jx::catalog::kFileSizeZero);

    Lines lines;
    // Two spare bytes: the last line always finds a terminator.
    char* const text = lines.allocate(size + 2);
    if (!text) throw_out_of_memory(record);
    text[size] = '\0';
    text[size + 1] = '\0';

    constexpr size_t kPiece = 256 * 1024;
    char* line = text; // start of the line being cut
    for (size_t offset = 0; offset < size; offset += kPiece) {
        const size_t n = std::min(kPiece, size - offset);
        char* const piece = text + offset;
        char* const piece_end = piece + n;
        file.read(piece, static_cast<DWORD>(n));
        if (!is_text(reinterpret_cast<const unsigned char*>(piece), n)) {
            clear(*this);
            record->set_error_type(2);
            file.throw_error_code(jx::catalog::kNotAsciiText);
        }
        for (char* p = piece; p < piece_end;) {
            char* feed =
                static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(piece_end - p)));
            if (!feed) break;
            p = feed + 1;
            if (feed == line) { // an empty line stores nothing
                line = p;
                continue;
            }
            *feed = '\0';
            if (feed[-1] == '\r') feed[-1] = '\0';
            if (!lines.add(line)) throw_out_of_memory(record);
            line = p;
        }
    }
    // Text after the last line feed is the final line; a carriage return at
    // its end stays part of it.
    if (line < text + size && !lines.add(line)) throw_out_of_memory(record);

    clear(*this);
    // A file of line feeds only leaves the list truly empty: nothing would
    // point into the text.
    if (lines.count() > 0) lines.hand_over(*this);
}

unsigned string_list::get_maxstrlen() const {
    size_t longest = 0;
    for (int i = 0; i < count; ++i)
        if (strings[i]) longest = std::max(longest, std::strlen(strings[i]));
    return static_cast<unsigned>(std::min<size_t>(longest, UINT_MAX));
}
