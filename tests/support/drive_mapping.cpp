#include "support/drive_mapping.h"

#include <atomic>
#include <chrono>
#include <sstream>

namespace jx::test {

std::string unique_folder_name() {
    static std::atomic<unsigned> counter{0};
    std::ostringstream name;
    name << "jx-" << std::chrono::steady_clock::now().time_since_epoch().count() << '-'
         << counter++;
    return name.str();
}

} // namespace jx::test
