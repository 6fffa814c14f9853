// On Windows the printers are the system's own; no private scheduler runs.
#include "support/print_server.h"

namespace jx::test {

PrivatePrintServer::PrivatePrintServer(const std::string&, const std::string&)
    : why_("no private print scheduler on this system") {}

PrivatePrintServer::~PrivatePrintServer() = default;

} // namespace jx::test
