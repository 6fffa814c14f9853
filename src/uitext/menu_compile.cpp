// Menus: the menu text and identifier header, the compiled file and its
// rebuild.
//
// Compiled file "jx5mndes.mnu", little-endian:
//   0    header, 32 bytes: "JX6_MENU_DESCRP" and NUL, entry count E, entry
//        size 12, language (16 bits), 0 (16 bits), menu stamp (32 bits)
//   32   index, E x 12 bytes: stored size, used size, offset in the data area
//   32 + 12 E   the entries, each its template items then zeros up to its
//        stored size (a multiple of 32)
// Items: option word, command number (not for a popup), text as one 16-bit
// unit per byte (no code-page conversion) and a 0 unit; a popup's children
// follow it, the last of them flagged MF_END (0x0080). A separator is
// 0x0800, 0, 0.
//
// Choices where the text format has no answer, taken so that every entry is
// a template Windows reads to its end and no further:
//   - a popup whose last child is missing (the file ends, or a line without
//     a bar stands in its place), and a popup with no children at all, are
//     malformed: its children could not be closed with MF_END;
//   - an entry that does not fit the 8192-byte work area is malformed;
//   - a compiled file whose index does not describe its own layout counts as
//     damaged and is rebuilt.
#include "menu_system.h"

#include "text_lines.h"
#include "uitext_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace jx::uitext;

const char* const kMenuFiles[] = {"english6.mnu", "french6.mnu",  "spanish6.mnu", "german6.mnu",
                                  "usertrs6.mnu", "jx5mndes.mnu", "mnudefs5.r.h"};
constexpr BYTE kCompiledFile = 5;
constexpr BYTE kHeaderFile = 6;
constexpr DWORD kHeaderSize = sizeof(menu_file_header);
constexpr DWORD kEntrySize = sizeof(menu_entry);
constexpr DWORD kWorkArea = 8192;
constexpr DWORD kMaxEntries = 1u << 20;
constexpr char kSignature[] = "JX6_MENU_DESCRP";
constexpr WORD kPopup = 0x0010;
constexpr WORD kEnd = 0x0080;
constexpr WORD kSeparator = 0x0800;

const char* file_name(unsigned index) {
    return index < sizeof kMenuFiles / sizeof kMenuFiles[0] ? kMenuFiles[index] : "";
}

bool header_matches(const menu_file_header& header, int language, int stamp) {
    return std::memcmp(header.signature, kSignature, sizeof kSignature) == 0 &&
           header.entry_size == kEntrySize && header.language == static_cast<WORD>(language) &&
           header.menu_stamp == static_cast<DWORD>(stamp) && header.num_entries <= kMaxEntries;
}

bool index_is_sound(const menu_entry* index, DWORD entries) {
    DWORD offset = 0;
    for (DWORD e = 0; e < entries; ++e) {
        const menu_entry& entry = index[e];
        if (entry.used_size == 0 || entry.used_size % 2 != 0 || entry.used_size > kWorkArea ||
            entry.stored_size != round_up_32(entry.used_size) || entry.offset != offset)
            return false;
        offset += entry.stored_size;
    }
    return true;
}

// Writes items into the entry being built, never past its end.
struct ItemWriter {
    WORD*& cursor;
    WORD* end;
    bool put(WORD option, bool with_number, WORD number, const char* text, unsigned length) {
        const size_t units = 1 + (with_number ? 1 : 0) + length + 1;
        if (static_cast<size_t>(end - cursor) < units) return false;
        *cursor++ = option;
        if (with_number) *cursor++ = number;
        for (unsigned i = 0; i < length; ++i) *cursor++ = static_cast<BYTE>(text[i]);
        *cursor++ = 0;
        return true;
    }
};

} // namespace

jx5MenuSystem::jx5MenuSystem(char* directory, int language, int menu_stamp, int unused)
    : data_start(0), num_defines(0), max_defines(0), define_ids(nullptr), define_names(nullptr),
      hfile(INVALID_HANDLE_VALUE), header(), entry_index(nullptr), error_code(0), error_file(0) {
    ULONGLONG menu_time = 0;
    ULONGLONG header_time = 0;
    const FolderPath menu_path(directory, file_name(static_cast<unsigned>(language)));
    if (const DWORD error = source_time(menu_path.text, menu_time)) {
        error_code = error;
        error_file = static_cast<BYTE>(language);
        return;
    }
    const FolderPath header_path(directory, kMenuFiles[kHeaderFile]);
    if (const DWORD error = source_time(header_path.text, header_time)) {
        error_code = error;
        error_file = kHeaderFile;
        return;
    }
    const ULONGLONG newest_source = menu_time > header_time ? menu_time : header_time;

    const FolderPath compiled_path(directory, kMenuFiles[kCompiledFile]);
    const auto usable = [language, menu_stamp](const menu_file_header& h) {
        return header_matches(h, language, menu_stamp) ? static_cast<long>(h.num_entries) : -1L;
    };
    if (needs_rebuild(*this, compiled_path.text, newest_source, entry_index, usable, index_is_sound,
                      kCompiledFile))
        CompileMenu(directory, language, menu_stamp, unused);
}

void jx5MenuSystem::CompileMenu(char* directory, int language, int menu_stamp, int) {
    FolderPath text_path(directory, file_name(static_cast<unsigned>(language)));
    FILE* file = jx_fopen(text_path.text, "r");
    if (!file) {
        error_code = ERROR_FILE_NOT_FOUND;
        error_file = static_cast<BYTE>(language);
        return;
    }
    char line[128] = {};
    if (!std::fgets(line, sizeof line, file) || std::strncmp(line, "JXW60-MNU", 9) != 0) {
        std::fclose(file);
        error_code = kMalformed;
        error_file = static_cast<BYTE>(language);
        return;
    }
    int header_lines = 0;
    if (!load_menudefs(directory, menu_stamp, header_lines)) {
        std::fclose(file);
        return;
    }

    std::vector<WORD> work(kWorkArea / 2);
    std::vector<BYTE> data;
    std::vector<menu_entry> index;
    data.reserve(4096);
    index.reserve(16);
    bool malformed = false;
    for (;;) {
        unsigned length = 0;
        unsigned short number = 0;
        const int kind = parse_menuline(file, line, sizeof line, length, number);
        if (kind == kMenuEnd) break;
        if (kind == kMenuSeparator) continue;
        std::fill(work.begin(), work.end(), WORD{0});
        WORD* cursor = work.data();
        ItemWriter writer{cursor, work.data() + work.size()};
        bool ok = false;
        if (kind == kMenuCommand)
            ok = writer.put(0, true, number, line, length);
        else if (kind == kMenuPopup)
            ok = number >= 1 && writer.put(kPopup, false, 0, line, length) &&
                 create_popup(file, cursor, number, work.data() + work.size());
        if (!ok) {
            malformed = true;
            break;
        }
        const DWORD used = static_cast<DWORD>(cursor - work.data()) * 2;
        const DWORD offset = index.empty() ? 0 : index.back().offset + index.back().stored_size;
        index.push_back({round_up_32(used), used, offset});
        const BYTE* bytes = reinterpret_cast<const BYTE*>(work.data());
        data.insert(data.end(), bytes, bytes + index.back().stored_size);
    }
    std::fclose(file);
    free_menudefs();
    if (malformed) {
        error_code = kMalformed;
        error_file = static_cast<BYTE>(language);
        return;
    }

    header = menu_file_header();
    std::memcpy(header.signature, kSignature, sizeof kSignature);
    header.num_entries = static_cast<DWORD>(index.size());
    header.entry_size = kEntrySize;
    header.language = static_cast<WORD>(language);
    header.menu_stamp = static_cast<DWORD>(menu_stamp);
    delete[] entry_index;
    entry_index = new menu_entry[index.size() + 1];
    std::copy(index.begin(), index.end(), entry_index);
    data_start = kHeaderSize + kEntrySize * header.num_entries;
    const auto write_body = [&](HANDLE out) {
        return write_all(out, entry_index, kEntrySize * header.num_entries) &&
               write_all(out, data.data(), static_cast<DWORD>(data.size()));
    };
    const FolderPath compiled_path(directory, kMenuFiles[kCompiledFile]);
    if (const DWORD failure =
            write_compiled(compiled_path.text, &header, kHeaderSize, write_body, hfile)) {
        error_code = failure;
        error_file = kCompiledFile;
    }
}

bool jx5MenuSystem::load_menudefs(char* directory, int, int& lines) {
    const FolderPath path(directory, kMenuFiles[kHeaderFile]);
    FILE* file = jx_fopen(path.text, "r");
    if (!file) {
        error_code = ERROR_FILE_NOT_FOUND;
        error_file = kHeaderFile;
        return false;
    }
    max_defines = 24;
    num_defines = 0;
    define_ids = new WORD[max_defines]();
    define_names = new char*[max_defines]();
    LineInfo info;
    char name[80];
    unsigned short value = 0;
    HeaderLine kind;
    while ((kind = read_header_line(file, name, value, &info)) == kHeaderDefinition) {
        if (static_cast<DWORD>(num_defines) == max_defines) {
            const DWORD grown = max_defines + 10;
            WORD* ids = new WORD[grown]();
            char** names = new char*[grown]();
            std::copy(define_ids, define_ids + num_defines, ids);
            std::copy(define_names, define_names + num_defines, names);
            delete[] define_ids;
            delete[] define_names;
            define_ids = ids;
            define_names = names;
            max_defines = grown;
        }
        const size_t length = std::strlen(name) + 1;
        define_names[num_defines] = new char[length];
        std::memcpy(define_names[num_defines], name, length);
        define_ids[num_defines++] = value;
    }
    std::fclose(file);
    lines = info.lines;
    if (kind == kHeaderNotDefinition) {
        error_code = kMalformed;
        error_file = kHeaderFile;
        free_menudefs();
        return false;
    }
    return true;
}

unsigned short jx5MenuSystem::get_define_id(char* name) {
    for (LONG i = 0; i < num_defines; ++i)
        if (std::strcmp(define_names[i], name) == 0) return define_ids[i];
    return 0;
}

void jx5MenuSystem::free_menudefs() {
    for (LONG i = 0; i < num_defines; ++i) delete[] define_names[i];
    delete[] define_names;
    delete[] define_ids;
    define_names = nullptr;
    define_ids = nullptr;
    num_defines = 0;
    max_defines = 0;
}

int jx5MenuSystem::parse_menuline(FILE* file, char* buffer, unsigned int size, unsigned int& length,
                                  unsigned short& number) {
    const char* name = nullptr;
    const MenuLine kind = read_menu_line(file, buffer, size, length, number, name);
    if (kind != kMenuCommand) return kind;
    number = get_define_id(buffer + (name - buffer));
    return number != 0 ? kMenuCommand : 0;
}

// The children are read level by level without recursion, so that deep
// nesting costs a few integers rather than a stack frame and a line buffer.
bool jx5MenuSystem::create_popup(FILE* file, WORD*& cursor, int count, WORD* end) {
    if (count < 1) return false;
    std::vector<int> remaining{count}; // lines still due at each open level
    ItemWriter writer{cursor, end};
    char line[128];
    while (!remaining.empty()) {
        const bool last = --remaining.back() == 0;
        if (last) remaining.pop_back();
        unsigned length = 0;
        unsigned short number = 0;
        switch (parse_menuline(file, line, sizeof line, length, number)) {
        case kMenuPopup:
            if (number < 1 || !writer.put(last ? kPopup | kEnd : kPopup, false, 0, line, length))
                return false;
            remaining.push_back(number);
            break;
        case kMenuSeparator:
            if (!writer.put(last ? kSeparator | kEnd : kSeparator, true, 0, "", 0)) return false;
            break;
        case kMenuCommand:
            if (!writer.put(last ? kEnd : 0, true, number, line, length)) return false;
            break;
        case 0:
            return false;
        default: // the end of the file or a line without a bar
            if (last) return false;
            break;
        }
    }
    return true;
}
