// The worksheet status log: one growing text, one line per warning.
#include "worksheet_status.h"

#include "catalog.h"
#include "worksheet_growth.h"

#include <cstdio>
#include <cstring>

namespace {

// The double no-value marker, compared exactly: a path length that was
// never entered.
constexpr double kNoValue = 222.222;

// A catalog text takes at most 79 characters of a line, a line with its
// values at most 127.
constexpr int kTextBuffer = 80;
constexpr int kLineBuffer = 128;

// Appends `line` and "\r\n" to the log, growing the buffer first when the
// line does not fit. The new buffer is filled before the old one is released,
// so a failed allocation leaves the log as it was.
void append_line(DWORD& buff_size, char*& buff, const char* line) {
    const size_t used = std::strlen(buff);
    const size_t length = std::strlen(line);
    const DWORD capacity = jx::frame::detail::status_capacity(buff_size, used, length);
    if (capacity == 0) return; // a log of 4 GB takes no more lines
    if (capacity != buff_size) {
        char* grown = new char[capacity]();
        std::memcpy(grown, buff, used + 1);
        delete[] buff;
        buff = grown;
        buff_size = capacity;
    }
    std::memcpy(buff + used, line, length);
    std::memcpy(buff + used + length, "\r\n", 3);
}

} // namespace

worksheet_status::worksheet_status()
    : buff_size(jx::frame::detail::kStatusGrowth), buff(new char[buff_size]()) {}

worksheet_status::~worksheet_status() {
    delete[] buff;
}

worksheet_status::worksheet_status(const worksheet_status& other)
    : buff_size(other.buff_size), buff(new char[other.buff_size]) {
    std::memcpy(buff, other.buff, buff_size);
}

worksheet_status& worksheet_status::operator=(const worksheet_status& other) {
    if (this == &other) return *this;
    char* copy = new char[other.buff_size];
    std::memcpy(copy, other.buff, other.buff_size);
    delete[] buff;
    buff = copy;
    buff_size = other.buff_size;
    return *this;
}

void worksheet_status::add(int catalog_id) {
    if (catalog_id == 0) return;
    char text[kTextBuffer];
    jx::frame::load_catalog_text(catalog_id, text, sizeof text);
    append_line(buff_size, buff, text);
}

// Extreme values (an EIRP of 1e300 prints 300 digits) are cut with the rest
// of the line at 127 characters.
void worksheet_status::add_eirp(int catalog_id, double eirp_dbm, double min_path_km) {
    if (catalog_id == 0) return;
    char text[kTextBuffer];
    jx::frame::load_catalog_text(catalog_id, text, sizeof text);
    char line[kLineBuffer];
    if (min_path_km == kNoValue)
        std::snprintf(line, sizeof line, "%s (%.1f dBm)", text, eirp_dbm);
    else
        std::snprintf(line, sizeof line, "%s (%.1f dBm %.1f km min plen)", text, eirp_dbm,
                      min_path_km);
    append_line(buff_size, buff, line);
}
