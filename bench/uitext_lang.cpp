// Language texts against GNU gettext on the same 10,000 texts, in one run:
//
//   BM_GetStringDialog     get_string, ids in ascending runs of 16 (a dialog
//                          loading its texts), a random run each time
//   BM_DgettextDialog      dgettext for the same ids, from a catalog that
//                          msgfmt made of the same texts
//   BM_GetStringRandom     get_string at random ids
//   BM_Pread4KRandom       one 4 KiB pread at a random offset of the compiled
//                          file: the floor for a text outside the cached block
//
//   bench_uitext_lang --write DIR [COUNT]   writes english6.lng and texts.po
//   bench_uitext_lang --compile DIR         compiles DIR's english6.lng once
//
// The two modes serve bench/compare_lang_compile.sh, which times compiling
// beside msgfmt on the .po file. Needs msgfmt (cmake/install-deps.sh bench).
#include "jx6ut.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <libintl.h>
#include <locale.h>
#include <random>
#include <string>
#include <vector>

// The reference read: declared here rather than through the system header
// that only the platform layer includes.
extern "C" long pread(int fd, void* buffer, unsigned long count, long offset);
extern "C" int close(int fd);

namespace {

constexpr int kTexts = 10000;

std::string text_for(int id) {
    char text[120];
    std::snprintf(text, sizeof text, "Text %d of the link planner: fade margin, rain and path %d",
                  id, id * 7 % 1000);
    return text;
}

std::string key_for(int id) {
    return "T" + std::to_string(id);
}

void write_sources(const std::string& dir, int count) {
    std::filesystem::create_directories(dir);
    FILE* lang = std::fopen((dir + "/english6.lng").c_str(), "wb");
    FILE* po = std::fopen((dir + "/texts.po").c_str(), "wb");
    if (!lang || !po) std::exit(1);
    std::fprintf(lang, "JXW60-STR bench\n%d\n", count);
    std::fprintf(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CP1252\\n\"\n\n");
    for (int id = 0; id < count; ++id) {
        const std::string text = text_for(id);
        std::fprintf(lang, "%d,%s\n", id, text.c_str());
        std::fprintf(po, "msgid \"%s\"\nmsgstr \"%s\"\n\n", key_for(id).c_str(), text.c_str());
    }
    std::fclose(lang);
    std::fclose(po);
}

// Sources, the compiled file and the gettext catalog, made once.
struct Fixture {
    std::string dir;
    std::vector<std::string> keys;
    jx5LangSystem* texts = nullptr;
    Fixture() {
        dir = (std::filesystem::temp_directory_path() /
               ("jx6ut-bench-lang-" + std::to_string(std::random_device{}())))
                  .string();
        write_sources(dir, kTexts);
        const std::string mo_dir = dir + "/locale/jx/LC_MESSAGES";
        std::filesystem::create_directories(mo_dir);
        const std::string command = "msgfmt -o " + mo_dir + "/jxbench.mo " + dir + "/texts.po";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "msgfmt failed: install gettext (cmake/install-deps.sh bench)\n");
            std::exit(1);
        }
        setlocale(LC_ALL, "C.UTF-8");
        setenv("LANGUAGE", "jx", 1);
        bindtextdomain("jxbench", (dir + "/locale").c_str());
        for (int id = 0; id < kTexts; ++id) keys.push_back(key_for(id));
        texts = new jx5LangSystem(&dir[0], 0, true);
        if (texts->error_code != 0 || std::strcmp(texts->get_string(42), text_for(42).c_str()) ||
            std::strcmp(dgettext("jxbench", keys[42].c_str()), text_for(42).c_str())) {
            std::fprintf(stderr, "the two catalogs disagree\n");
            std::exit(1);
        }
    }
    ~Fixture() {
        delete texts;
        std::filesystem::remove_all(dir);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

std::vector<int> random_values(int count, int bound) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, bound - 1);
    std::vector<int> values(static_cast<size_t>(count));
    for (int& v : values) v = pick(random);
    return values;
}

void BM_GetStringDialog(benchmark::State& state) {
    jx5LangSystem& texts = *fixture().texts;
    const std::vector<int> runs = random_values(4096, kTexts / 16);
    size_t next = 0;
    for (auto _ : state) {
        const int first = runs[next++ & 4095] * 16;
        for (int id = first; id < first + 16; ++id) benchmark::DoNotOptimize(texts.get_string(id));
    }
    state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(BM_GetStringDialog);

void BM_DgettextDialog(benchmark::State& state) {
    const std::vector<std::string>& keys = fixture().keys;
    const std::vector<int> runs = random_values(4096, kTexts / 16);
    size_t next = 0;
    for (auto _ : state) {
        const int first = runs[next++ & 4095] * 16;
        for (int id = first; id < first + 16; ++id)
            benchmark::DoNotOptimize(dgettext("jxbench", keys[static_cast<size_t>(id)].c_str()));
    }
    state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(BM_DgettextDialog);

void BM_GetStringRandom(benchmark::State& state) {
    jx5LangSystem& texts = *fixture().texts;
    const std::vector<int> ids = random_values(4096, kTexts);
    size_t next = 0;
    for (auto _ : state) benchmark::DoNotOptimize(texts.get_string(ids[next++ & 4095]));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetStringRandom);

void BM_Pread4KRandom(benchmark::State& state) {
    const std::string path = fixture().dir + "/jx5_lang.lng";
    const int fd = open(path.c_str(), O_RDONLY);
    const long size = static_cast<long>(std::filesystem::file_size(path));
    const std::vector<int> offsets = random_values(4096, static_cast<int>(size - 4096));
    static char buffer[4096];
    size_t next = 0;
    for (auto _ : state) benchmark::DoNotOptimize(pread(fd, buffer, 4096, offsets[next++ & 4095]));
    state.SetItemsProcessed(state.iterations());
    close(fd);
}
BENCHMARK(BM_Pread4KRandom);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--write") == 0) {
        write_sources(argv[2], argc >= 4 ? std::atoi(argv[3]) : kTexts);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--compile") == 0) {
        std::filesystem::remove(std::string(argv[2]) + "/jx5_lang.lng");
        jx5LangSystem texts(argv[2], 0, true);
        return texts.error_code == 0 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
