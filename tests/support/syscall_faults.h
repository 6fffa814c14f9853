// For the fault suites, which link the library statically: every system call
// of an operation fails in turn.
#pragma once

#include "platform/testing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

namespace jx::test {

inline size_t open_descriptors() {
    namespace fs = std::filesystem;
    return static_cast<size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// Runs `operation` with its call 1, 2, ... failing with `error` (0: moving
// only half the bytes) until it gets through, calling `check` after each
// attempt that met the failure. No attempt may leave a descriptor open.
// Returns the number of calls the operation makes.
inline int fail_each_call(int error, const std::function<void()>& operation,
                          const std::function<void()>& check) {
    const size_t descriptors = open_descriptors();
    for (int nth = 1; nth < 200; ++nth) {
        std::optional<jx::testing::ScopedSyscallFault> fault(std::in_place, nth, error);
        operation();
        const bool fired = fault->fired();
        fault.reset();
        EXPECT_EQ(open_descriptors(), descriptors) << "call " << nth;
        if (!fired) return nth - 1;
        SCOPED_TRACE("call " + std::to_string(nth));
        check();
    }
    ADD_FAILURE() << "the operation never got through";
    return 0;
}

} // namespace jx::test
