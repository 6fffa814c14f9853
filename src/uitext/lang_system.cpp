// Language texts: the text file's rules, the compiled file and its rebuild,
// and the one-block cache.
//
// Compiled file "jx5_lang.lng", little-endian:
//   0    header, 28 bytes: "JX6_LANGUAGE" NUL-filled to 16, block count
//        B = N / 16 + 1, entry size 12, language (16 bits), 0 (16 bits)
//   28   index, B x 12 bytes: stored size, used size, offset in the block area
//   28 + 12 B   the blocks; block k holds ids 16k to 16k + 15:
//        16 length bytes (with the NUL; 0 for an empty slot), 16 offsets
//        (16 bits, from the block's start; 0 for an empty slot), the texts
//        packed from byte 48, zeros up to the stored size (a multiple of 32)
//
// Choices where the file format has no answer, all taken so that a host
// never receives a text that the file does not hold:
//   - a count that is negative or above a million is malformed (line 2);
//   - a text over 254 characters is malformed (its length byte would wrap);
//   - a line whose id is at or beyond the count ends the loading: the ids
//     before it are filled with " " and the line itself is dropped;
//   - get_string gives " " for ids -15 to -1 and for empty slots;
//   - a compiled file whose index does not describe its own layout counts as
//     damaged and is rebuilt, and a block whose slot points outside it gives
//     " " for that slot.
#include "lang_system.h"

#include "text_lines.h"
#include "uitext_files.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

using namespace jx::uitext;

const char* const kLangFiles[] = {"english6.lng", "french6.lng",  "spanish6.lng",
                                  "german6.lng",  "usertrs6.lng", "jx5_lang.lng"};
constexpr WORD kCompiledFile = 5;
constexpr DWORD kNoBlock = 0xFFFFFFFFu;
constexpr DWORD kHeaderSize = sizeof(lang_file_header);
constexpr DWORD kEntrySize = sizeof(lang_block_entry);
constexpr DWORD kSlotsSize = 48;
constexpr DWORD kMaxBlock = 48 + 16 * 255; // 4128, a multiple of 32
constexpr DWORD kMaxBlocks = static_cast<DWORD>(kMaxTexts / 16 + 1);
constexpr char kSignature[] = "JX6_LANGUAGE";

const char* file_name(unsigned index) {
    return index < sizeof kLangFiles / sizeof kLangFiles[0] ? kLangFiles[index] : "";
}

bool header_matches(const lang_file_header& header, WORD language) {
    char expected[16] = {};
    std::memcpy(expected, kSignature, sizeof kSignature);
    return header.language == language && header.entry_size == kEntrySize &&
           std::memcmp(header.signature, expected, sizeof expected) == 0 &&
           header.num_blocks >= 1 && header.num_blocks <= kMaxBlocks;
}

// Whether the index describes blocks as compilation lays them out.
bool index_is_sound(const lang_block_entry* index, DWORD blocks) {
    DWORD offset = 0;
    for (DWORD b = 0; b < blocks; ++b) {
        const lang_block_entry& e = index[b];
        if (e.used_size < kSlotsSize || e.used_size > kMaxBlock ||
            e.stored_size != round_up_32(e.used_size) || e.offset != offset)
            return false;
        offset += e.stored_size;
    }
    return true;
}

char* copy_text(const char* text) {
    const size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

jx5LangSystem::jx5LangSystem(char* directory, unsigned short language, bool)
    : data_start(0), cur_block(kNoBlock), block_buf(nullptr), blank_text{' ', '\0', '\0', '\0'},
      hfile(INVALID_HANDLE_VALUE), header(), block_index(nullptr), num_strings(0),
      text_table(nullptr), error_code(0), error_file(0), error_line(0) {
    const FolderPath text_path(directory, file_name(language));
    ULONGLONG text_time = 0;
    if (const DWORD error = source_time(text_path.text, text_time)) {
        error_code = error;
        error_file = language;
        return;
    }
    const FolderPath compiled_path(directory, kLangFiles[kCompiledFile]);
    const auto usable = [language](const lang_file_header& h) {
        return header_matches(h, language) ? static_cast<long>(h.num_blocks) : -1L;
    };
    if (needs_rebuild(*this, compiled_path.text, text_time, block_index, usable, index_is_sound,
                      kCompiledFile))
        CompileLang(directory, language, true);
}

jx5LangSystem::~jx5LangSystem() {
    if (hfile != INVALID_HANDLE_VALUE) CloseHandle(hfile);
    delete[] block_index;
    delete[] block_buf;
}

jx5LangSystem& jx5LangSystem::operator=(const jx5LangSystem& other) = default;

void jx5LangSystem::CompileLang(char* directory, unsigned short language, bool) {
    FolderPath text_path(directory, file_name(language));
    int detail = 0;
    const bool loaded = load_jxwtext(text_path.text, detail, language);
    const auto release_texts = [this] {
        if (text_table)
            for (LONG i = 0; i < num_strings; ++i) delete[] text_table[i];
        delete[] text_table;
        text_table = nullptr;
    };
    if (!loaded) {
        error_file = language;
        error_line = detail;
        error_code = detail != 0 ? kMalformed : ERROR_FILE_NOT_FOUND;
        release_texts();
        num_strings = 0;
        return;
    }

    const DWORD count = static_cast<DWORD>(num_strings);
    header = lang_file_header();
    std::memcpy(header.signature, kSignature, sizeof kSignature);
    header.entry_size = kEntrySize;
    header.language = language;
    header.num_blocks = count / 16 + 1;
    delete[] block_index;
    block_index = new lang_block_entry[header.num_blocks]();
    DWORD offset = 0;
    for (DWORD b = 0; b < header.num_blocks; ++b) {
        DWORD used = kSlotsSize;
        for (DWORD id = b * 16; id < b * 16 + 16 && id < count; ++id)
            used += static_cast<DWORD>(std::strlen(text_table[id])) + 1;
        block_index[b] = {round_up_32(used), used, offset};
        offset += block_index[b].stored_size;
    }

    data_start = kHeaderSize + kEntrySize * header.num_blocks;
    const auto write_body = [this, count](HANDLE out) {
        if (!write_all(out, block_index, kEntrySize * header.num_blocks)) return false;
        BYTE block[kMaxBlock + 16];
        for (DWORD b = 0; b < header.num_blocks; ++b) {
            std::memset(block, 0, sizeof block);
            WORD text_offset = kSlotsSize;
            for (DWORD slot = 0; slot < 16 && b * 16 + slot < count; ++slot) {
                const char* text = text_table[b * 16 + slot];
                const size_t length = std::strlen(text) + 1;
                block[slot] = static_cast<BYTE>(length);
                block[16 + 2 * slot] = static_cast<BYTE>(text_offset & 0xFF);
                block[17 + 2 * slot] = static_cast<BYTE>(text_offset >> 8);
                std::memcpy(block + text_offset, text, length);
                text_offset = static_cast<WORD>(text_offset + length);
            }
            if (!write_all(out, block, block_index[b].stored_size)) return false;
        }
        return true;
    };
    const FolderPath compiled_path(directory, kLangFiles[kCompiledFile]);
    if (const DWORD error =
            write_compiled(compiled_path.text, &header, kHeaderSize, write_body, hfile)) {
        error_code = error;
        error_file = kCompiledFile;
    }
    release_texts();
}

bool jx5LangSystem::load_jxwtext(char* path, int& line, unsigned short) {
    FILE* file = jx_fopen(path, "r");
    if (!file) {
        line = 0;
        return false;
    }
    char buffer[512];
    const auto malformed = [&](int at) {
        std::fclose(file);
        line = at;
        return false;
    };
    if (parse_textline(file, buffer, sizeof buffer) == -1 ||
        std::strncmp(buffer, "JXW60-STR", 9) != 0)
        return malformed(1);
    if (parse_textline(file, buffer, sizeof buffer) == -1) return malformed(2);
    char* end = nullptr;
    const long count = std::strtol(buffer, &end, 10);
    if (count < 0 || count > kMaxTexts) return malformed(2);

    num_strings = static_cast<LONG>(count);
    text_table = new char*[static_cast<size_t>(count)]();
    int k = 0;
    while (k < count) {
        const int id = parse_textline(file, buffer, sizeof buffer);
        if (id < k) return malformed(k + 3);
        while (k < id && k < count) text_table[k++] = copy_text(" ");
        if (k == count) break; // an id at or beyond the count has no slot
        if (std::strlen(buffer) > kMaxTextLength) return malformed(k + 3);
        text_table[k++] = copy_text(buffer);
    }
    std::fclose(file);
    return true;
}

int jx5LangSystem::parse_textline(FILE* file, char* buffer, unsigned int size) {
    return read_text_line(file, buffer, size);
}

char* jx5LangSystem::get_string(int id) {
    if (error_code != 0) return blank_text;
    const DWORD block = static_cast<DWORD>(id / 16);
    const int slot = id % 16;
    if (block >= header.num_blocks || slot < 0 || !block_index) return blank_text;
    const lang_block_entry& entry = block_index[block];
    if (block != cur_block) {
        // One buffer of the largest block size serves every block in turn,
        // so moving to another block costs a seek and a read, no allocation.
        cur_block = kNoBlock;
        if (!block_buf) block_buf = new (std::nothrow) BYTE[kMaxBlock];
        if (!block_buf || !seek_to(hfile, data_start + entry.offset) ||
            !read_all(hfile, block_buf, entry.stored_size))
            return nullptr;
        cur_block = block;
    }
    const DWORD length = block_buf[slot];
    const DWORD offset = block_buf[16 + 2 * slot] | (block_buf[17 + 2 * slot] << 8);
    if (length == 0 || offset < kSlotsSize || offset + length > entry.used_size ||
        block_buf[offset + length - 1] != '\0')
        return blank_text;
    return reinterpret_cast<char*>(block_buf + offset);
}
