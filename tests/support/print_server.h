// A private print scheduler for one test: its own configuration in a
// temporary folder, its own port, and one printer that prints to nothing.
// The library's print-system queries go to it while it lives. POSIX only.
#pragma once

#include <string>

namespace jx::test {

struct PrivatePrintServer {
    // Starts the scheduler with the printer `name` as the default, described
    // by the PPD file `ppd`.
    PrivatePrintServer(const std::string& name, const std::string& ppd);
    ~PrivatePrintServer();
    PrivatePrintServer(const PrivatePrintServer&) = delete;
    PrivatePrintServer& operator=(const PrivatePrintServer&) = delete;

    std::string why; // what failed; empty while the scheduler runs
    std::string folder;
    int process = 0;
};

} // namespace jx::test
