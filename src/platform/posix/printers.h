// Printers of the POSIX layer, as the print system describes them. Internal
// to the layer.
#pragma once

#include <string>

namespace jx::posix::printers {

// Sizes in hundredths of a millimetre.
struct Printer {
    std::string name;
    int paper_width = 0;
    int paper_length = 0;
    int margin_left = 0;
    int margin_right = 0;
    int margin_top = 0;
    int margin_bottom = 0;
    int dpi_x = 0;
    int dpi_y = 0;
};

// The printer named `name`, or the default printer for an empty name. False
// when the print system doesn't answer or has no such printer.
bool find(const std::string& name, Printer& printer);

} // namespace jx::posix::printers
