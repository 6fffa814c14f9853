// The private print scheduler on POSIX systems: the system's cupsd, started
// in the foreground with configuration files of its own.
#include "support/print_server.h"

#include <cups/cups.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace jx::test {
namespace {

constexpr const char* kScheduler = "/usr/sbin/cupsd";

bool write_file(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

PrivatePrintServer::PrivatePrintServer(const std::string& name, const std::string& ppd) {
    if (access(kScheduler, X_OK) != 0) {
        why_ = "the print scheduler (Debian's cups-daemon) is not installed";
        return;
    }
    const int port = 20000 + static_cast<int>(getpid() % 20000);
    folder_ = (fs::temp_directory_path() / ("jx6ut-cups-" + std::to_string(port))).string();
    std::error_code error;
    fs::remove_all(folder_, error);
    const fs::path root = folder_;
    for (const char* sub : {"ppd", "cache", "spool", "log", "state"})
        fs::create_directories(root / sub, error);
    const std::string r = root.string();
    const bool written =
        write_file(root / "cupsd.conf", "Listen 127.0.0.1:" + std::to_string(port) +
                                            "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                            "DefaultAuthType None\n<Location />\nOrder "
                                            "allow,deny\nAllow all\n</Location>\n") &&
        write_file(root / "cups-files.conf",
                   "ServerRoot " + r + "\nCacheDir " + r + "/cache\nStateDir " + r +
                       "/state\nRequestRoot " + r + "/spool\nTempDir " + r + "/spool\nErrorLog " +
                       r + "/log/error_log\nAccessLog " + r + "/log/access_log\nPageLog " + r +
                       "/log/page_log\nFileDevice Yes\n") &&
        write_file(root / "printers.conf",
                   "<DefaultPrinter " + name +
                       ">\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\nShared No\n"
                       "</DefaultPrinter>\n") &&
        fs::copy_file(ppd, root / "ppd" / (name + ".ppd"), error);
    if (!written) {
        why_ = "cannot write the scheduler's configuration in " + r;
        return;
    }
    fs::permissions(root / "printers.conf", fs::perms::owner_read | fs::perms::owner_write, error);

    const std::string config = r + "/cupsd.conf", files = r + "/cups-files.conf";
    char* argv[] = {const_cast<char*>(kScheduler),
                    const_cast<char*>("-f"),
                    const_cast<char*>("-c"),
                    const_cast<char*>(config.c_str()),
                    const_cast<char*>("-s"),
                    const_cast<char*>(files.c_str()),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, kScheduler, nullptr, nullptr, argv, environ) != 0) {
        why_ = "cannot start " + std::string(kScheduler);
        return;
    }
    process_ = pid;
    const std::string address = "127.0.0.1:" + std::to_string(port);
    cupsSetServer(address.c_str());
    // The scheduler is ready when it answers for the printer.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            process_ = 0;
            why_ = "the scheduler stopped at once (see " + r + "/log/error_log)";
            cupsSetServer(nullptr);
            return;
        }
        if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr)) {
            cupsFreeDests(1, dest);
            running_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why_ = "the scheduler did not answer on " + address;
}

PrivatePrintServer::~PrivatePrintServer() {
    cupsSetServer(nullptr);
    if (process_ > 0) {
        kill(process_, SIGTERM);
        int status = 0;
        waitpid(process_, &status, 0);
    }
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
}

} // namespace jx::test
