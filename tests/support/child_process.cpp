#include "support/child_process.h"

#include "files/jxfileio.h"
#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace jx::test {
namespace {

constexpr const char* kVariable = "JX_TEST_FILE_HOLDER";
// Parent and child each wait for the other's explicit signal, however long a
// loaded machine takes to start a process. The limit only keeps a child from
// outliving a parent that died without releasing it; the suites' own
// timeout ends a stuck parent well before.
constexpr auto kPatience = std::chrono::minutes(20);

// Waits until `path` exists; gives up when the `child`, if any, has ended
// without making it.
bool wait_for_file(const std::string& path, void* child) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!TempDir::exists(path)) {
        if (child && detail::has_ended(child)) return TempDir::exists(path);
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

FileHolder::FileHolder(const std::string& path, DWORD access, DWORD share_mode) {
    signal_ = (std::filesystem::temp_directory_path() / unique_folder_name()).string();
    process_ = detail::start_self(kVariable, signal_ + ';' + std::to_string(access) + ';' +
                                                 std::to_string(share_mode) + ';' + path);
    if (process_ && wait_for_file(signal_ + ".ready", process_))
        std::ifstream(signal_ + ".ready") >> child_error_;
}

FileHolder::~FileHolder() {
    if (!process_) return;
    std::ofstream(signal_ + ".release") << "go";
    detail::wait_for(process_);
    std::error_code error;
    std::filesystem::remove(signal_ + ".ready", error);
    std::filesystem::remove(signal_ + ".release", error);
}

int run_file_holder_if_requested() {
    const char* request = std::getenv(kVariable);
    if (!request || !*request) return -1;
    std::istringstream in(request);
    std::string signal, access, share_mode, path;
    std::getline(std::getline(std::getline(in, signal, ';'), access, ';'), share_mode, ';');
    std::getline(in, path);
    Error_Handler record;
    std::unique_ptr<jxfileio> file;
    DWORD result = 0;
    try {
        file = std::make_unique<jxfileio>(&record, path.c_str(), std::stoul(access),
                                          std::stoul(share_mode), nullptr);
    } catch (Error_Handler* failed) {
        result = failed->last_error_code ? failed->last_error_code : ERROR_INVALID_FUNCTION;
    }
    // The result is written whole before the parent sees it; then the file is
    // held until the parent releases it.
    std::ofstream(signal + ".ready.tmp") << result;
    std::filesystem::rename(signal + ".ready.tmp", signal + ".ready");
    wait_for_file(signal + ".release", nullptr);
    return 0;
}

} // namespace jx::test
