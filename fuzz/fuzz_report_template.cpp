// The report template reader on arbitrary text, and the conversions its
// results go through when the page is laid out.
#include "report/font_rules.h"
#include "report/rtf_page.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The library reads a template whole and terminates it after its last
    // byte; embedded NULs stay in.
    const std::string text(reinterpret_cast<const char*>(data), size);
    using namespace jx::report::detail;
    read_decimal(text.c_str());
    RtfPage page;
    if (read_rtf_page(text.c_str(), page)) {
        const double width = (page.page_width - page.margin_left - page.margin_right) / 1440.0;
        const double height = (page.page_height - page.margin_top - page.margin_bottom) / 1440.0;
        truncate_to_long(width * 2540.0);
        truncate_to_long(height * 96.0);
        ceiling_to_long(width * 25.4 * 11.811);
        font_height(static_cast<int>(truncate_to_long(page.page_width)), 144);
    }
    return 0;
}
