// The print and page-setup dialogs over POSIX. Only their "return the
// default printer" forms exist here: no dialog is ever shown. The font
// dialog's default answer is "cancelled".
#include "layer.h"
#include "printers.h"
#include "../ui_hooks.h"

#include <algorithm>
#include <cstring>

namespace {

// What Windows' common dialogs report through CommDlgExtendedError.
constexpr DWORD kNoDefaultPrinter = 0x1008; // PDERR_NODEFAULTPRN
constexpr DWORD kStructSize = 0x0001;       // CDERR_STRUCTSIZE

// The driver name Windows gives every printer of its spooler.
constexpr const char* kDriver = "winspool";

HGLOBAL make_devnames(const std::string& device) {
    const std::string output = "";
    const size_t header = sizeof(DEVNAMES);
    const size_t driver_at = header;
    const size_t device_at = driver_at + std::strlen(kDriver) + 1;
    const size_t output_at = device_at + device.size() + 1;
    const size_t size = output_at + output.size() + 1;
    if (output_at > 0xFFFF) return nullptr; // offsets are 16-bit
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    char* bytes = static_cast<char*>(GlobalLock(block));
    DEVNAMES names;
    names.wDriverOffset = static_cast<WORD>(driver_at);
    names.wDeviceOffset = static_cast<WORD>(device_at);
    names.wOutputOffset = static_cast<WORD>(output_at);
    names.wDefault = DN_DEFAULTPRN;
    std::memcpy(bytes, &names, sizeof names);
    std::memcpy(bytes + driver_at, kDriver, std::strlen(kDriver) + 1);
    std::memcpy(bytes + device_at, device.c_str(), device.size() + 1);
    std::memcpy(bytes + output_at, output.c_str(), output.size() + 1);
    GlobalUnlock(block);
    return block;
}

short tenths_of_mm(int hundredths) {
    return static_cast<short>(std::clamp((hundredths + 5) / 10, 0, 32767));
}

HGLOBAL make_devmode(const jx::posix::printers::Printer& printer) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    if (!block) return nullptr;
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(block));
    // The device name field holds 31 characters and a terminator.
    const size_t n = std::min(printer.name.size(), size_t{CCHDEVICENAME - 1});
    std::memcpy(mode->dmDeviceName, printer.name.data(), n);
    mode->dmSpecVersion = 0x0401;
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmFields =
        DM_ORIENTATION | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_PRINTQUALITY | DM_YRESOLUTION;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmPaperWidth = tenths_of_mm(printer.paper_width);
    mode->dmPaperLength = tenths_of_mm(printer.paper_length);
    mode->dmPrintQuality = static_cast<short>(std::clamp(printer.dpi_x, 1, 32767));
    mode->dmYResolution = static_cast<short>(std::clamp(printer.dpi_y, 1, 32767));
    mode->dmCopies = 1;
    mode->dmScale = 100;
    GlobalUnlock(block);
    return block;
}

thread_local DWORD g_dialog_error = 0;

LONG convert(int hundredths_of_mm, DWORD flags) {
    if (flags & PSD_INHUNDREDTHSOFMILLIMETERS) return hundredths_of_mm;
    return static_cast<LONG>((static_cast<int64_t>(hundredths_of_mm) * 1000 + 1270) / 2540);
}

// The dialogs' common part: the default printer and its two blocks. Without
// the return-default flag the real dialog would be shown, and there is none
// here: the answer is "cancelled", which changes nothing.
BOOL default_printer(bool return_default, jx::posix::printers::Printer& printer, HGLOBAL& names_out,
                     HGLOBAL& mode_out) {
    g_dialog_error = 0;
    if (!return_default) return FALSE;
    if (!jx::posix::printers::find("", printer)) {
        g_dialog_error = kNoDefaultPrinter;
        return FALSE;
    }
    HGLOBAL names = make_devnames(printer.name);
    HGLOBAL mode = make_devmode(printer);
    if (!names || !mode) {
        if (names) GlobalFree(names);
        if (mode) GlobalFree(mode);
        return FALSE;
    }
    names_out = names;
    mode_out = mode;
    return TRUE;
}

} // namespace

extern "C" {

BOOL WINAPI PrintDlgA(LPPRINTDLGA dialog) {
    if (!dialog || dialog->lStructSize != sizeof(PRINTDLGA)) {
        g_dialog_error = kStructSize;
        return FALSE;
    }
    jx::posix::printers::Printer printer;
    return default_printer(dialog->Flags & PD_RETURNDEFAULT, printer, dialog->hDevNames,
                           dialog->hDevMode);
}

BOOL WINAPI PageSetupDlgA(LPPAGESETUPDLGA dialog) {
    if (!dialog || dialog->lStructSize != sizeof(PAGESETUPDLGA)) {
        g_dialog_error = kStructSize;
        return FALSE;
    }
    jx::posix::printers::Printer printer;
    if (!default_printer(dialog->Flags & PSD_RETURNDEFAULT, printer, dialog->hDevNames,
                         dialog->hDevMode))
        return FALSE;
    const DWORD flags = dialog->Flags;
    dialog->ptPaperSize.x = convert(printer.paper_width, flags);
    dialog->ptPaperSize.y = convert(printer.paper_length, flags);
    const RECT margins = {convert(printer.margin_left, flags), convert(printer.margin_top, flags),
                          convert(printer.margin_right, flags),
                          convert(printer.margin_bottom, flags)};
    dialog->rtMinMargin = margins;
    dialog->rtMargin = margins;
    return TRUE;
}

DWORD WINAPI CommDlgExtendedError(void) {
    return g_dialog_error;
}
}

namespace jx::detail {

BOOL platform_choose_font(CHOOSEFONTA*) {
    return FALSE;
}

} // namespace jx::detail
