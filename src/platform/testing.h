// Test seams of the POSIX layer. Never installed; only tests that link the
// library's objects statically (the fault tests) include this header.
#pragma once

#include "screen.h"
#include "win32.h"

#include <cstddef>

namespace jx::testing {

// Makes the Nth system call of the POSIX layer (counted from the guard's
// construction, starting at 1) fail with `error` (an errno value). With
// `error` 0 the call instead transfers only half of what was asked (a short
// read or write) and succeeds. Restores normal operation when destroyed.
class ScopedSyscallFault {
public:
    ScopedSyscallFault(int nth, int error);
    ~ScopedSyscallFault();
    ScopedSyscallFault(const ScopedSyscallFault&) = delete;
    ScopedSyscallFault& operator=(const ScopedSyscallFault&) = delete;
    // Whether the planned failure has happened.
    bool fired() const;
    // System calls made since the guard was constructed.
    int calls() const;
};

// Replaces the system locale's decimal separator that GetLocaleInfoA reports,
// then reruns the library's entry point as a thread attach would, so the
// library picks the new value up. Restores both when destroyed.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(const char* separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;
};

// Global memory blocks and GDI objects (stock objects aside) alive now; a
// test compares them before and after an operation to find leaks.
size_t live_global_blocks();
size_t live_gdi_objects();

// Describes the screen for the guard's lifetime (see screen.h).
class ScopedScreen {
public:
    explicit ScopedScreen(const jx_screen& screen);
    ~ScopedScreen();
    ScopedScreen(const ScopedScreen&) = delete;
    ScopedScreen& operator=(const ScopedScreen&) = delete;

private:
    jx_screen previous_;
};

// Stops the clock of the C runtime's time functions at `seconds` since
// 1970 (UTC); restores the real clock when destroyed.
class ScopedClock {
public:
    explicit ScopedClock(int64_t seconds);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

// A printer as the print system would describe it; sizes in hundredths of a
// millimetre, as the print system gives them.
struct PrinterDescription {
    const char* name;
    int paper_width;
    int paper_length;
    int margin_left;
    int margin_right;
    int margin_top;
    int margin_bottom;
    int dpi;
};

// Makes the layer see `printer` as the default (and only) printer instead of
// asking the print system; a null description means there is no printer.
// Restores the print system when destroyed.
class ScopedPrinter {
public:
    explicit ScopedPrinter(const PrinterDescription* printer);
    ~ScopedPrinter();
    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;
};

} // namespace jx::testing
