// The private print scheduler on POSIX systems: the system's cupsd, started
// in the foreground with configuration files of its own.
#include "support/print_server.h"

#include <cups/cups.h>

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

PrivatePrintServer::PrivatePrintServer(const std::string& name, const std::string& ppd) {
    const std::string port = std::to_string(20000 + getpid() % 20000);
    const std::string address = "127.0.0.1:" + port, scheduler = "/usr/sbin/cupsd";
    const std::string r = folder = (fs::temp_directory_path() / ("jx6ut-cups-" + port)).string();
    std::error_code error;
    fs::remove_all(r, error);
    for (const char* sub : {"ppd", "cache", "spool", "log", "state"})
        fs::create_directories(r + "/" + sub, error);
    const std::pair<const char*, std::string> files[] = {
        {"cupsd.conf", "Listen " + address +
                           "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                           "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"},
        {"cups-files.conf",
         "ServerRoot " + r + "\nCacheDir " + r + "/cache\nStateDir " + r + "/state\nRequestRoot " +
             r + "/spool\nTempDir " + r + "/spool\nErrorLog " + r + "/log/error_log\nAccessLog " +
             r + "/log/access_log\nPageLog " + r + "/log/page_log\nFileDevice Yes\n"},
        {"printers.conf", "<DefaultPrinter " + name +
                              ">\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\n"
                              "Shared No\n</DefaultPrinter>\n"},
    };
    // A configuration that could not be written shows in the scheduler's log.
    fs::copy_file(ppd, r + "/ppd/" + name + ".ppd", error);
    for (const auto& [file, text] : files) std::ofstream(r + "/" + file) << text;
    fs::permissions(r + "/printers.conf", fs::perms::owner_read | fs::perms::owner_write, error);

    std::string args[] = {scheduler, "-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"};
    char* argv[] = {&args[0][0], &args[1][0], &args[2][0], &args[3][0],
                    &args[4][0], &args[5][0], nullptr};
    if (posix_spawn(&process, scheduler.c_str(), nullptr, nullptr, argv, environ) != 0) {
        why = "cannot start " + scheduler + " (Debian's cups-daemon)";
        return;
    }
    cupsSetServer(address.c_str());
    // The scheduler is ready when it answers for the printer.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (waitpid(process, nullptr, WNOHANG) == process) {
            process = 0;
            why = "the scheduler stopped at once (see " + r + "/log/error_log)";
            return;
        }
        if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr)) {
            cupsFreeDests(1, dest);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why = "the scheduler did not answer on " + address;
}

PrivatePrintServer::~PrivatePrintServer() {
    cupsSetServer(nullptr);
    if (process > 0) {
        kill(process, SIGTERM);
        waitpid(process, nullptr, 0);
    }
    std::error_code error;
    fs::remove_all(folder, error);
}

} // namespace jx::test
