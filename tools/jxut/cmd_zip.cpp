// jxut zip and unzip: the archive manager from the command line, for support
// engineers who pack a customer's data files or look into an archive that
// came with a report; and the demo step of the archives.
#include "command.h"

#include "jx6ut.h"
#include "platform/console/console.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace jxut {
namespace {

int run_zip(const Call& call);
int run_unzip(const Call& call);

const Command kZip = {
    "zip",
    "zip ARCHIVE FILE...\n"
    "zip --list ARCHIVE",
    "packs data files into a zip archive, or lists one",
    "Each FILE is added under its bare name, one call per file, compressed at\n"
    "level 1; an existing ARCHIVE is replaced. Names with accented letters are\n"
    "stored so that every common zip tool shows them. Packing stops at the first\n"
    "file that cannot be added (exit 1); the archive then holds the files before\n"
    "it. On a terminal the files done and their bytes are shown as it goes.",
    {{"--list", nullptr, "list ARCHIVE: size, compressed size and name of every entry"}},
    "jxut zip send.zip net.dat maps/ridge.dem sites.csv\n"
    "jxut zip --list received.zip",
    run_zip,
};

const Command kUnzip = {
    "unzip",
    "unzip ARCHIVE FOLDER",
    "unpacks every entry of a zip archive into a folder",
    "FOLDER must exist; files of the same names in it are replaced. Nothing is\n"
    "written when an entry name would leave FOLDER (an absolute path, a drive, a\n"
    "server, \"..\"), names a device, or has no form in the ANSI code page, nor\n"
    "when an entry claims more than 2 GB. Entries with folders in their names\n"
    "need those folders below FOLDER.",
    {},
    "jxut unzip received.zip incoming\n"
    "jxut zip --list received.zip     # look before unpacking",
    run_unzip,
};

// The library splits names at backslashes only; a POSIX path given here is
// turned into that form so the entry still gets the bare name.
std::string library_path(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string megabytes(unsigned long long bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

// "done/total files, bytes" on standard error, rewritten in place; only on
// a terminal.
class Progress {
public:
    explicit Progress(size_t total) : total_(total), shown_(jx::console::stderr_is_terminal()) {}
    ~Progress() {
        if (shown_ && drawn_) err("\r%60s\r", "");
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void step(unsigned long long bytes) {
        bytes_ += bytes;
        if (!shown_) return;
        err("\r%s/%s files, %s", std::to_string(++done_).c_str(), std::to_string(total_).c_str(),
            megabytes(bytes_).c_str());
        drawn_ = true;
    }
    void note(const std::string& text) {
        if (!shown_) return;
        err("\r%s", text.c_str());
        drawn_ = true;
    }

private:
    size_t total_;
    size_t done_ = 0;
    unsigned long long bytes_ = 0;
    bool shown_;
    bool drawn_ = false;
};

struct Listing {
    std::vector<JxArchiveEntry> entries;
    static void add(const JxArchiveEntry& entry, void* context) {
        static_cast<Listing*>(context)->entries.push_back(entry);
    }
};

bool read_listing(const std::string& archive, Listing& listing) {
    return jx_list_archive(archive.c_str(), &Listing::add, &listing) != 0;
}

void print_listing(const Listing& listing) {
    out("%12s  %12s  %s\n", "size", "compressed", "name");
    unsigned long long total = 0;
    for (const JxArchiveEntry& entry : listing.entries) {
        out("%12s  %12s  %s%s\n", std::to_string(entry.size).c_str(),
            std::to_string(entry.compressed_size).c_str(), entry.name,
            entry.has_ansi_name ? "" : "  (no ANSI form: not unpacked)");
        total += entry.size;
    }
    out("%s entries, %s bytes\n", std::to_string(listing.entries.size()).c_str(),
        std::to_string(total).c_str());
}

unsigned long long file_size(const std::string& ansi) {
    Error_Handler record;
    try {
        jxfileio file(&record, ansi.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        return file.get_file_size();
    } catch (Error_Handler*) {
        return 0;
    }
}

int pack(const Call& call, const std::string& archive, const Args& files) {
    ArchiveManager manager;
    std::string name = library_path(archive);
    if (!manager.NewArchive(&name[0]))
        return call.fail("archive name '" + echo(archive) + "' is longer than 259 characters");
    Progress progress(files.size());
    for (const std::string& file : files) {
        std::string path = library_path(file);
        if (!manager.AddFileToArchive(&path[0])) {
            manager.CloseArchive();
            return call.fail("cannot add '" + echo(file) + "' to '" + echo(archive) +
                             "': the file cannot be read whole, or the archive cannot be written");
        }
        progress.step(file_size(path));
    }
    manager.CloseArchive();
    return kOk;
}

int run_zip(const Call& call) {
    const Args& args = call.operands();
    if (call.has("--list")) {
        if (args.size() != 1) return call.usage_error("--list takes one archive");
        Listing listing;
        if (!read_listing(library_path(args[0]), listing))
            return call.fail("'" + echo(args[0]) + "' cannot be read as a zip archive");
        print_listing(listing);
        return kOk;
    }
    if (args.empty()) return call.usage_error("no archive given");
    if (args.size() < 2) return call.usage_error("no files to pack");
    return pack(call, args[0], Args(args.begin() + 1, args.end()));
}

int run_unzip(const Call& call) {
    const Args& args = call.operands();
    if (args.size() != 2) return call.usage_error("give the archive and the folder");
    const std::string archive = library_path(args[0]);
    Listing listing;
    if (!read_listing(archive, listing))
        return call.fail("'" + echo(args[0]) + "' cannot be read as a zip archive");
    for (const JxArchiveEntry& entry : listing.entries)
        if (!entry.has_ansi_name)
            return call.fail("entry '" + echo(entry.name) +
                             "' has no name in the ANSI code page; nothing was written");
    unsigned long long total = 0;
    for (const JxArchiveEntry& entry : listing.entries) total += entry.size;
    std::string name = archive;
    std::string folder = library_path(args[1]);
    int unpacked;
    {
        Progress progress(listing.entries.size());
        progress.note("unpacking " + std::to_string(listing.entries.size()) + " entries, " +
                      megabytes(total) + " ...");
        unpacked = ArchiveManager().UnpackExistingArchive(&name[0], &folder[0]);
    }
    if (!unpacked)
        return call.fail("cannot unpack '" + echo(args[0]) + "' into '" + echo(args[1]) +
                         "': the folder is missing, an entry name would leave it or names a "
                         "device, an entry is damaged or too large, or a file cannot be written");
    return kOk;
}

// ---------------------------------------------------------------------------
// The demo: three samples, one of them under an accented name, packed,
// listed, unpacked elsewhere and compared byte for byte.

std::string slurp(const std::string& ansi) {
    Error_Handler record;
    try {
        jxfileio file(&record, ansi.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        std::string bytes(file.get_file_size(), '\0');
        if (!bytes.empty()) file.read(&bytes[0], static_cast<DWORD>(bytes.size()));
        return bytes;
    } catch (Error_Handler*) {
        return "<unreadable>";
    }
}

bool spill(const std::string& ansi, const std::string& bytes) {
    Error_Handler record;
    try {
        jxfileio file(&record, ansi.c_str(), GENERIC_WRITE, 0, nullptr);
        if (!bytes.empty()) file.write(bytes.data(), static_cast<DWORD>(bytes.size()));
        return true;
    } catch (Error_Handler*) {
        return false;
    }
}

int demo_archive(const std::string& samples) {
    namespace fs = std::filesystem;
    std::error_code error;
    // A folder of its own, as demos may run side by side.
    const fs::path work =
        fs::temp_directory_path(error) /
        ("jxut-demo-archive-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::remove_all(work, error);
    fs::create_directories(work / "unpacked", error);
    // The temporary folder's name is plain ASCII on every system.
    const std::string dir = library_path(work.string());
    const std::string import = library_path(samples) + "\\import\\";
    const std::string table = slurp(import + "sites.csv");
    std::string accented = dir + "\\Relev\xE9 des sites.csv";
    if (!spill(accented, table)) {
        // Wine in the "C" locale, for one, cannot put the letter on disk.
        out("(file names here cannot hold the accented letter; a plain name stands in)\n");
        accented = dir + "\\Releve des sites.csv";
        if (!spill(accented, table)) {
            err("cannot write the sample copy %s\n", accented.c_str());
            return kFailed;
        }
    }
    const std::vector<std::string> files = {accented, import + "sites.txt",
                                            import + "sites_fixed.def"};
    std::string archive = dir + "\\samples.zip";
    ArchiveManager manager;
    manager.NewArchive(&archive[0]);
    int status = kOk;
    for (std::string file : files) {
        if (!manager.AddFileToArchive(&file[0])) status = kFailed;
    }
    manager.CloseArchive();
    out("packed %s files into samples.zip, one call each:\n", std::to_string(files.size()).c_str());
    Listing listing;
    if (!read_listing(archive, listing)) return kFailed;
    print_listing(listing);

    std::string target = dir + "\\unpacked";
    if (!manager.UnpackExistingArchive(&archive[0], &target[0])) status = kFailed;
    for (const std::string& file : files) {
        const std::string name = get_filename(std::string(file).data());
        const bool same = slurp(target + "\\" + name) == slurp(file);
        out("unpacked %s: %s\n", name.c_str(), same ? "same bytes" : "DIFFERENT");
        if (!same) status = kFailed;
    }
    std::string not_archive = import + "sites.csv";
    expected("a table is not an archive");
    out("unpacking sites.csv: %s\n",
        manager.UnpackExistingArchive(&not_archive[0], &target[0]) ? "unpacked" : "refused");
    fs::remove_all(work, error);
    return status;
}

const Registrar kZipRegistrar(kZip);
const Registrar kUnzipRegistrar(kUnzip);
const Registrar kDemoRegistrar(DemoStep{70, "Archives: pack, list and unpack", demo_archive});

} // namespace
} // namespace jxut
