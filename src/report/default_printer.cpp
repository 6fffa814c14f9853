// The default printer, asked of the system without showing a dialog.
#include "report_metrics.h"

#include <cstdlib>
#include <cstring>

namespace {

// A heap copy of at most `limit` characters of `text`: the device-names
// block is outside data, and a string that runs to the block's end must not
// be read past it.
char* copy_bounded(const char* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n]) ++n;
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, n);
    copy[n] = '\0';
    return copy;
}

void free_block(HGLOBAL& block) {
    if (block) GlobalFree(block);
    block = nullptr;
}

} // namespace

defaultJ5printer::defaultJ5printer(HWND owner, HINSTANCE instance)
    : driver_name(nullptr), device_name(nullptr), output_name(nullptr), no_printer(true) {
    std::memset(&print_dlg, 0, sizeof print_dlg);
    std::memset(&page_setup, 0, sizeof page_setup);
    print_dlg.lStructSize = sizeof print_dlg;
    print_dlg.hwndOwner = owner;
    print_dlg.hInstance = instance;
    print_dlg.Flags = PD_RETURNDEFAULT;
    // The answer itself says nothing useful: only the device names tell
    // whether there is a default printer.
    PrintDlgA(&print_dlg);
    no_printer = print_dlg.hDevNames == nullptr;
    if (no_printer) return;

    page_setup.lStructSize = sizeof page_setup;
    page_setup.hwndOwner = owner;
    page_setup.hInstance = instance;
    page_setup.Flags = PSD_RETURNDEFAULT | PSD_INTHOUSANDTHSOFINCHES;
    PageSetupDlgA(&page_setup);
    set_devnames();
}

defaultJ5printer::~defaultJ5printer() {
    std::free(driver_name);
    std::free(device_name);
    std::free(output_name);
    free_block(print_dlg.hDevMode);
    free_block(print_dlg.hDevNames);
    free_block(page_setup.hDevMode);
    free_block(page_setup.hDevNames);
}

void defaultJ5printer::set_devnames() {
    const SIZE_T size = GlobalSize(print_dlg.hDevNames);
    const char* block = static_cast<const char*>(GlobalLock(print_dlg.hDevNames));
    if (!block) return;
    if (size < sizeof(DEVNAMES)) {
        GlobalUnlock(print_dlg.hDevNames);
        return;
    }
    const DEVNAMES* names = reinterpret_cast<const DEVNAMES*>(block);
    const auto copy_at = [&](WORD offset) -> char* {
        if (offset >= size) return nullptr;
        return copy_bounded(block + offset, size - offset);
    };
    driver_name = copy_at(names->wDriverOffset);
    device_name = copy_at(names->wDeviceOffset);
    output_name = copy_at(names->wOutputOffset);
    GlobalUnlock(print_dlg.hDevNames);
}

HDC defaultJ5printer::get_printdc(bool portrait) {
    if (no_printer || !print_dlg.hDevMode) return nullptr;
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(print_dlg.hDevMode));
    if (!mode) return nullptr;
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    HDC dc = CreateDCA(driver_name, device_name, output_name, mode);
    GlobalUnlock(print_dlg.hDevMode);
    return dc;
}
