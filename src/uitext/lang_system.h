// User-interface texts by number, in the language the host chose, served
// from a compiled file that is rebuilt from the translators' text file when
// that is newer.
#pragma once

#include "platform/win32.h"

#include <cstdio>

// The compiled file's first 28 bytes.
struct lang_file_header {
    char signature[16]; // "JX6_LANGUAGE", NUL-filled
    DWORD num_blocks;   // texts / 16 + 1
    DWORD entry_size;   // of one index entry: 12
    WORD language;
    WORD reserved;
};

// One block of sixteen texts in the compiled file's index.
struct lang_block_entry {
    DWORD stored_size; // used size rounded up to 32
    DWORD used_size;   // 48 + the texts with their NULs
    DWORD offset;      // from the start of the block area
};

static_assert(sizeof(lang_file_header) == 28, "the header is 28 bytes on disk");
static_assert(sizeof(lang_block_entry) == 12, "an index entry is 12 bytes on disk");

// Failures are only recorded in error_code, error_file and error_line.
class JX_API jx5LangSystem {
public:
    DWORD data_start;
    DWORD cur_block;
    BYTE* block_buf;
    char blank_text[4];
    HANDLE hfile;
    lang_file_header header;
    lang_block_entry* block_index;
    LONG num_strings;
    char** text_table;
    DWORD error_code;
    WORD error_file;
    LONG error_line;

    // `flag` has no effect.
    jx5LangSystem(char* directory, unsigned short language, bool flag);
    ~jx5LangSystem();
    // A copy would be a second owner of the same handle and buffers; the
    // assignment below is the one way to share them, as hosts always did.
    jx5LangSystem(const jx5LangSystem&) = delete;
    // Member-wise: the copy shares the source's handle and buffers.
    jx5LangSystem& operator=(const jx5LangSystem& other);

    // Valid until the next call that needs another block. " " for an id that
    // has no text, or on a failed object; null when the block cannot be read.
    char* get_string(int id);

private:
    void CompileLang(char* directory, unsigned short language, bool flag);
    bool load_jxwtext(char* path, int& line, unsigned short language);
    int parse_textline(FILE* file, char* buffer, unsigned int size);
};
