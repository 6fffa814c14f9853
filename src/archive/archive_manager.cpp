// Zip archives through miniz, which owns the format; this file decides the
// names, the level, the output paths and the order of the steps.
//
// Where unpacking departs from the plain sequence (read every entry to the
// heap, write it beside the others), it does so on purpose:
// - Security: before anything is written, every entry name is checked
//   (is_safe_entry_name) and converted to ANSI; an archive holding a name that
//   is absolute, carries a drive letter, a device or server prefix, a ".."
//   component, a device name or a character Windows refuses, or a name with no
//   ANSI form or too long for a 259-character output path, is refused whole.
//   Likewise an entry declaring more than kLargestEntry bytes.
// - Memory: the product is a 32-bit DLL, where a heap block of a large entry
//   may not be found. Entries above kStreamAbove are inflated through miniz's
//   streaming extractor straight into the output file, so unpacking runs in
//   bounded memory whatever the entry sizes.
// - A write that fails, or an entry that inflates to other than its declared
//   size, ends the unpacking with 0 and removes that one incomplete file.
#include "archive_manager.h"

#include "entry_names.h"
#include "files/path_utils.h"
#include "platform/utf8_file_names.h"

#include <miniz.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using jx::archive::ansi_to_entry_name;
using jx::archive::entry_name_to_ansi;
using jx::archive::is_safe_entry_name;

constexpr size_t kLongestPath = MAX_PATH - 1;

// Entries up to this size are extracted to the heap in one block; larger ones
// are streamed to their file.
constexpr mz_uint64 kStreamAbove = 32ull << 20;

// The library never packs a file larger than a 32-bit process can read into
// one block, so an entry declaring more is a bomb or a lie.
constexpr mz_uint64 kLargestEntry = 0x7FFFFFFFull;

// Deflate at level 1, no other flags.
constexpr mz_uint kLevelAndFlags = 1;

// Debian's unzip reads the UTF-8 name of an entry "made by" MS-DOS (all that
// miniz writes) in the DOS code page and garbles it, yet honours the UTF-8
// flag of an entry made on Windows NTFS. miniz has no setting for the field,
// so after each add the new entry, the last of the central directory, is
// marked as made on NTFS (host 10) by format version 6.3, the one that
// brought the flag. Best effort: the archive is complete either way, and an
// entry that is not exactly where and what it should be is left alone.
constexpr BYTE kMadeOnNtfs[2] = {63, 10};

DWORD le32(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

bool read_at(HANDLE file, DWORD offset, void* buffer, DWORD count) {
    DWORD read = 0;
    return SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset &&
           ReadFile(file, buffer, count, &read, nullptr) && read == count;
}

void mark_made_on_ntfs(const char* archive, const std::string& entry) {
    HANDLE file = CreateFileA(archive, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    BYTE end[22];
    const DWORD header_size = 46 + static_cast<DWORD>(entry.size());
    // Sizes beyond 2 GB (and the zip64 records that come with them) are left.
    if (high == 0 && size >= sizeof end && size < 0x80000000u &&
        read_at(file, size - sizeof end, end, sizeof end) && le32(end) == 0x06054b50 &&
        end[20] == 0 && end[21] == 0) {
        const DWORD directory_size = le32(end + 12);
        const DWORD directory_offset = le32(end + 16);
        std::vector<BYTE> header(header_size);
        if (directory_size >= header_size && directory_offset <= size - sizeof end &&
            directory_size <= size - sizeof end - directory_offset) {
            const DWORD at = directory_offset + directory_size - header_size;
            DWORD written = 0;
            if (read_at(file, at, header.data(), header_size) && le32(&header[0]) == 0x02014b50 &&
                header[28] + (header[29] << 8) == static_cast<int>(entry.size()) &&
                (header[30] | header[31] | header[32] | header[33]) == 0 &&
                std::memcmp(&header[46], entry.data(), entry.size()) == 0 &&
                SetFilePointer(file, static_cast<LONG>(at + 4), nullptr, FILE_BEGIN) == at + 4)
                WriteFile(file, kMadeOnNtfs, sizeof kMadeOnNtfs, &written, nullptr);
        }
    }
    CloseHandle(file);
}

// The reader, ended on every way out once it has been opened.
class Reader {
public:
    Reader() { mz_zip_zero_struct(&zip_); }
    ~Reader() {
        if (open_) mz_zip_reader_end(&zip_);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    bool open(const char* ansi_name) {
        std::string name;
        if (!jx_utf8_file_name(ansi_name, name)) return false;
        open_ = mz_zip_reader_init_file(&zip_, name.c_str(), 0) != MZ_FALSE;
        return open_;
    }
    mz_zip_archive* get() { return &zip_; }

private:
    mz_zip_archive zip_;
    bool open_ = false;
};

bool utf8_flag(const mz_zip_archive_file_stat& stat) {
    return (stat.m_bit_flag & (1u << 11)) != 0;
}

// The output file of one entry: created as "wb" would, removed again when the
// entry cannot be written whole.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : path_(path) {
        handle_ = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~OutputFile() {
        if (handle_ == INVALID_HANDLE_VALUE) return;
        CloseHandle(handle_);
        if (!complete_) DeleteFileA(path_.c_str());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool created() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool write(const void* data, size_t count) {
        const char* p = static_cast<const char*>(data);
        while (count > 0) {
            const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
            DWORD written = 0;
            if (!WriteFile(handle_, p, chunk, &written, nullptr) || written != chunk) return false;
            p += chunk;
            count -= chunk;
        }
        return true;
    }
    bool finish() {
        complete_ = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        if (!complete_) DeleteFileA(path_.c_str());
        return complete_;
    }

private:
    std::string path_;
    HANDLE handle_;
    bool complete_ = false;
};

// miniz's streaming extractor hands the inflated data over in pieces; the
// file is never written past the size the entry declares.
struct Stream {
    OutputFile* file;
    mz_uint64 declared;
    mz_uint64 written;
};

size_t write_piece(void* opaque, mz_uint64 offset, const void* data, size_t count) {
    Stream& stream = *static_cast<Stream*>(opaque);
    if (offset != stream.written || count > stream.declared - stream.written) return 0;
    if (!stream.file->write(data, count)) return 0;
    stream.written += count;
    return count;
}

bool extract_entry(mz_zip_archive* zip, const mz_zip_archive_file_stat& stat,
                   const std::string& path) {
    if (stat.m_uncomp_size > kStreamAbove) {
        OutputFile file(path);
        if (!file.created()) return false;
        Stream stream = {&file, stat.m_uncomp_size, 0};
        if (!mz_zip_reader_extract_file_to_callback(zip, stat.m_filename, write_piece, &stream, 0))
            return false;
        return stream.written == stat.m_uncomp_size && file.finish();
    }
    size_t size = 0;
    void* block = mz_zip_reader_extract_file_to_heap(zip, stat.m_filename, &size, 0);
    if (!block) return false;
    OutputFile file(path);
    const bool written = file.created() && file.write(block, size) && file.finish();
    mz_free(block);
    return written;
}

// The output path of an entry, or false when the entry is refused.
bool output_path(const mz_zip_archive_file_stat& stat, const char* target_dir, std::string& path) {
    std::string name;
    if (stat.m_uncomp_size > kLargestEntry) return false;
    if (!entry_name_to_ansi(stat.m_filename, utf8_flag(stat), name)) return false;
    if (!is_safe_entry_name(name.c_str())) return false;
    path = std::string(target_dir) + '\\' + name;
    // A path cut to fit would name another file than the entry's.
    return path.size() <= kLongestPath;
}

} // namespace

ArchiveManager::ArchiveManager() {
    archive_path[0] = '\0';
}

ArchiveManager::~ArchiveManager() = default;

// A null name is outside the caller's contract; it is answered with 0 and
// touches nothing.
int ArchiveManager::NewArchive(char* archive_name) {
    if (!archive_name) return 0;
    const size_t length = std::strlen(archive_name);
    const size_t kept = length > kLongestPath ? kLongestPath : length;
    std::memcpy(archive_path, archive_name, kept);
    archive_path[kept] = '\0';
    if (kept != length) return 0;
    jx_remove(archive_path);
    return 1;
}

// A source file too large for one block in memory (an allocation that fails,
// or a size beyond 32 bits) gives 0 before miniz is called, so the archive
// stays as the previous call left it. A null name gives 0 the same way.
int ArchiveManager::AddFileToArchive(char* file_name) {
    if (archive_path[0] == '\0' || !file_name) return 0;
    HANDLE file = CreateFileA(file_name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if ((size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0) {
        CloseHandle(file);
        return 0;
    }
    // One byte more than asked, so an empty file still has a block. In a
    // 32-bit process a size of 4 GB - 1 leaves no room for it (the count would
    // wrap to 0), and no block of that size could be found anyway.
    const uint64_t wanted = static_cast<uint64_t>(size) + 1;
    char* block =
        wanted <= SIZE_MAX ? static_cast<char*>(std::malloc(static_cast<size_t>(wanted))) : nullptr;
    DWORD read = 0;
    const bool whole = block && ReadFile(file, block, size, &read, nullptr) && read == size;
    CloseHandle(file);

    int added = 0;
    std::string entry;
    std::string archive;
    if (whole && ansi_to_entry_name(get_filename(file_name), entry) &&
        jx_utf8_file_name(archive_path, archive))
        added = mz_zip_add_mem_to_archive_file_in_place(archive.c_str(), entry.c_str(), block, size,
                                                        nullptr, 0, kLevelAndFlags)
                    ? 1
                    : 0;
    std::free(block);
    if (added) mark_made_on_ntfs(archive_path, entry);
    return added;
}

int ArchiveManager::CloseArchive() {
    archive_path[0] = '\0';
    return 1;
}

int ArchiveManager::UnpackExistingArchive(char* archive_name, char* target_dir) {
    if (!archive_name || !target_dir) return 0;
    Reader reader;
    if (!reader.open(archive_name)) return 0;
    mz_zip_archive* zip = reader.get();

    // Every entry is checked before the first one is written.
    std::vector<std::string> paths;
    mz_zip_archive_file_stat stat;
    for (mz_uint i = 0; i < mz_zip_reader_get_num_files(zip); ++i) {
        std::string path;
        if (!mz_zip_reader_file_stat(zip, i, &stat) || !output_path(stat, target_dir, path))
            return 0;
        paths.push_back(path);
    }
    for (mz_uint i = 0; i < mz_zip_reader_get_num_files(zip); ++i) {
        if (!mz_zip_reader_file_stat(zip, i, &stat)) return 0;
        if (!extract_entry(zip, stat, paths[i])) return 0;
    }
    return 1;
}

int jx_list_archive(const char* archive_name,
                    void (*visit)(const JxArchiveEntry& entry, void* context), void* context) {
    if (!archive_name || !visit) return 0;
    Reader reader;
    if (!reader.open(archive_name)) return 0;
    mz_zip_archive* zip = reader.get();
    std::vector<JxArchiveEntry> entries;
    mz_zip_archive_file_stat stat;
    for (mz_uint i = 0; i < mz_zip_reader_get_num_files(zip); ++i) {
        if (!mz_zip_reader_file_stat(zip, i, &stat)) return 0;
        JxArchiveEntry entry = {};
        std::string name;
        entry.has_ansi_name = entry_name_to_ansi(stat.m_filename, utf8_flag(stat), name);
        std::strncpy(entry.name, name.c_str(), kLongestPath);
        entry.size = stat.m_uncomp_size;
        entry.compressed_size = stat.m_comp_size;
        entries.push_back(entry);
    }
    for (const JxArchiveEntry& entry : entries) visit(entry, context);
    return 1;
}
