// Menus in the host's language: compiled from the translators' menu text and
// the identifier header into one file of ready-made menu-template entries,
// from which the host assembles each of its menus.
#pragma once

#include "platform/win32.h"

#include <cstdio>

// The compiled file's first 32 bytes.
struct menu_file_header {
    char signature[16]; // "JX6_MENU_DESCRP" and its NUL
    DWORD num_entries;  // top-level popups and commands
    DWORD entry_size;   // of one index entry: 12
    WORD language;
    WORD reserved;
    DWORD menu_stamp;
};

// One top-level entry in the compiled file's index.
struct menu_entry {
    DWORD stored_size; // used size rounded up to 32
    DWORD used_size;   // bytes of the entry's template items
    DWORD offset;      // from the start of the data area
};

static_assert(sizeof(menu_file_header) == 32, "the header is 32 bytes on disk");
static_assert(sizeof(menu_entry) == 12, "an index entry is 12 bytes on disk");

// Failures are only recorded in error_code and error_file.
class JX_API jx5MenuSystem {
public:
    DWORD data_start;
    LONG num_defines;
    DWORD max_defines;
    WORD* define_ids;
    char** define_names;
    HANDLE hfile;
    menu_file_header header;
    menu_entry* entry_index;
    DWORD error_code;
    BYTE error_file;

    // The fourth argument has no effect.
    jx5MenuSystem(char* directory, int language, int menu_stamp, int unused);
    ~jx5MenuSystem();
    // A copy would be a second owner of the same handle and index; the
    // assignment below is the one way to share them.
    jx5MenuSystem(const jx5MenuSystem&) = delete;
    // Member-wise: the copy shares the source's handle and index.
    jx5MenuSystem& operator=(const jx5MenuSystem& other);

    // The menu made of the chosen entries, in the order given; the caller
    // owns it. Null for a count of 0, an entry number at or beyond the
    // entry count, an entry that cannot be read or is damaged.
    HMENU get_hmenu(unsigned long count, unsigned long* entries);

private:
    void CompileMenu(char* directory, int language, int menu_stamp, int unused);
    bool load_menudefs(char* directory, int menu_stamp, int& lines);
    unsigned short get_define_id(char* name);
    void free_menudefs();
    int parse_menuline(FILE* file, char* buffer, unsigned int size, unsigned int& length,
                       unsigned short& number);
    // `end` bounds the entry being built; a popup that would pass it, or that
    // is left without its last child, fails.
    bool create_popup(FILE* file, WORD*& cursor, int count, WORD* end);
};
