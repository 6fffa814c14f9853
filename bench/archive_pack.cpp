// Packing and unpacking through ArchiveManager, timed from outside by
// bench/compare_archive.sh beside Info-ZIP zip and unzip:
//   bench_archive_pack --files DIR COUNT BYTES   writes COUNT files: text tables
//                                                and noisy elevation samples
//   bench_archive_pack --pack ZIP DIR            one AddFileToArchive per file
//   bench_archive_pack --unpack ZIP DIR
//   bench_archive_pack --growth ZIP DIR STEP     time per file, per STEP files
// Paths are handed over with backslashes, so entries get the bare names.
#include "jx6ut.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Half the files are site tables (compress well), half are 16-bit
// elevation samples with noise (compress poorly).
void write_files(const std::string& dir, int count, size_t bytes) {
    fs::create_directories(dir);
    unsigned state = 12345;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::string data;
        data.reserve(bytes + 64);
        if (i % 2 == 0) {
            std::snprintf(name, sizeof name, "t%05d.csv", i);
            while (data.size() < bytes) {
                char line[96];
                std::snprintf(line, sizeof line, "Site %u,%u.%04u,%u.%04u,%u,%u\r\n", next() % 5000,
                              40 + next() % 8, next() % 10000, 2 + next() % 6, next() % 10000,
                              next() % 3000, next() % 60);
                data += line;
            }
        } else {
            std::snprintf(name, sizeof name, "e%05d.dem", i);
            int height = 1200;
            while (data.size() < bytes) {
                height += static_cast<int>(next() % 61) - 30;
                data += static_cast<char>(height & 0xFF);
                data += static_cast<char>((height >> 8) & 0xFF);
            }
        }
        data.resize(bytes);
        std::ofstream(fs::path(dir) / name, std::ios::binary).write(data.data(), data.size());
    }
}

std::vector<std::string> files_of(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(dir + '\\' + entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int pack(std::string zip, const std::string& dir, size_t step) {
    std::vector<std::string> files = files_of(dir);
    ArchiveManager manager;
    const Clock::time_point start = Clock::now();
    manager.NewArchive(&zip[0]);
    Clock::time_point block = start;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!manager.AddFileToArchive(&files[i][0])) {
            std::fprintf(stderr, "bench_archive_pack: cannot add %s\n", files[i].c_str());
            return 1;
        }
        if (step && (i + 1) % step == 0) {
            std::printf("entries %zu-%zu: %.1f us per file\n", i + 2 - step, i + 1,
                        ms_since(block) * 1000.0 / static_cast<double>(step));
            block = Clock::now();
        }
    }
    manager.CloseArchive();
    std::printf("pack: %.1f ms\n", ms_since(start));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == "--files") {
        write_files(args[1], std::atoi(args[2].c_str()),
                    std::strtoull(args[3].c_str(), nullptr, 10));
        return 0;
    }
    if (args.size() == 3 && args[0] == "--pack") return pack(args[1], args[2], 0);
    if (args.size() == 4 && args[0] == "--growth")
        return pack(args[1], args[2], std::strtoull(args[3].c_str(), nullptr, 10));
    if (args.size() == 3 && args[0] == "--unpack") {
        std::string zip = args[1];
        std::string dir = args[2];
        ArchiveManager manager;
        const Clock::time_point start = Clock::now();
        if (!manager.UnpackExistingArchive(&zip[0], &dir[0])) {
            std::fprintf(stderr, "bench_archive_pack: cannot unpack %s\n", zip.c_str());
            return 1;
        }
        std::printf("unpack: %.1f ms\n", ms_since(start));
        return 0;
    }
    std::fprintf(stderr, "usage: bench_archive_pack --files DIR COUNT BYTES | --pack ZIP DIR | "
                         "--unpack ZIP DIR | --growth ZIP DIR STEP\n");
    return 2;
}
