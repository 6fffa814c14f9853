#include "zip_bytes.h"

#include "platform/win32.h"

#include <miniz.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace jx::test {

const char kFinalBlock[2] = {0x03, 0x00};

namespace {

void put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

std::string zip_of(const std::vector<RawEntry>& entries) {
    std::string local;
    std::string central;
    for (const RawEntry& entry : entries) {
        const uint32_t flags = entry.utf8 ? 0x800 : 0;
        const uint32_t size =
            static_cast<uint32_t>(entry.declared < 0 ? entry.data.size() : entry.declared);
        const uint32_t crc =
            entry.declared < 0
                ? static_cast<uint32_t>(
                      mz_crc32(MZ_CRC32_INIT, reinterpret_cast<const mz_uint8*>(entry.data.data()),
                               entry.data.size()))
                : entry.crc;
        const uint32_t offset = static_cast<uint32_t>(local.size());
        std::string common;
        put16(common, 20);
        put16(common, flags);
        put16(common, static_cast<uint32_t>(entry.method));
        put16(common, 0);    // time
        put16(common, 0x21); // 1 January 1980
        put32(common, crc);
        put32(common, static_cast<uint32_t>(entry.data.size()));
        put32(common, size);
        put16(common, static_cast<uint32_t>(entry.name.size()));
        put16(common, 0);
        put32(local, 0x04034b50);
        local += common + entry.name + entry.data;
        put32(central, 0x02014b50);
        put16(central, 20);
        central += common;
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, 0); // external attributes
        put32(central, offset);
        central += entry.name;
    }
    std::string end;
    put32(end, 0x06054b50);
    put32(end, 0);
    put16(end, static_cast<uint32_t>(entries.size()));
    put16(end, static_cast<uint32_t>(entries.size()));
    put32(end, static_cast<uint32_t>(central.size()));
    put32(end, static_cast<uint32_t>(local.size()));
    put16(end, 0);
    return local + central + end;
}

std::string deflate_flushed(const std::string& plain) {
    auto compressor = std::make_unique<tdefl_compressor>();
    tdefl_init(compressor.get(), nullptr, nullptr,
               static_cast<int>(tdefl_create_comp_flags_from_zip_params(9, -15, 0)));
    std::string out(plain.size() / 2 + 1024, '\0');
    size_t in_size = plain.size();
    size_t out_size = out.size();
    tdefl_compress(compressor.get(), plain.data(), &in_size, &out[0], &out_size, TDEFL_SYNC_FLUSH);
    out.resize(out_size);
    return out;
}

void write_ansi(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string read_ansi(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

std::vector<std::string> folder_names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace jx::test
