#include "support/drive_mapping.h"

#include <atomic>
#include <chrono>
#include <string>

namespace jx::test {

std::string unique_folder_name() {
    static std::atomic<unsigned> counter{0};
    return "jx-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
           '-' + std::to_string(counter++);
}

} // namespace jx::test
