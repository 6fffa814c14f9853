// A private print scheduler for one test: its own configuration in a
// temporary folder, its own port, and one printer that prints to nothing.
// The library's print-system queries go to it while it lives.
#pragma once

#include <string>

namespace jx::test {

class PrivatePrintServer {
public:
    // Starts the scheduler with the printer `name` as the default, described
    // by the PPD file `ppd`. Check running(); why() says what failed.
    PrivatePrintServer(const std::string& name, const std::string& ppd);
    ~PrivatePrintServer();
    PrivatePrintServer(const PrivatePrintServer&) = delete;
    PrivatePrintServer& operator=(const PrivatePrintServer&) = delete;

    bool running() const { return running_; }
    const std::string& why() const { return why_; }

private:
    bool running_ = false;
    std::string why_;
    std::string folder_;
    int process_ = 0;
};

} // namespace jx::test
