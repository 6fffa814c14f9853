// The compiled message catalog and the functions that lend its texts out.
#include "jx6ut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

std::string catalog(int id) {
    char text[1024] = "old";
    const int length = get_error_string(id, text, sizeof text);
    EXPECT_EQ(std::string(text).size(), static_cast<size_t>(length)) << id;
    return text;
}

// What a function given `size` bytes of a buffer of '#' wrote there, or
// "overrun" when it changed a byte after them.
std::string within(const std::string& buffer, int size) {
    if (buffer.find_first_not_of('#', std::max(size, 0)) != std::string::npos) return "overrun";
    return buffer.substr(0, std::max(size, 0)).c_str();
}

TEST(Catalog, HoldsExactlyItsEntries) {
    // Past 0xFFFF: Windows keeps only the low 16 bits of a string id, so 65637
    // would stand for 101 there; here it has no text.
    const std::set<int> gaps = {200, 359, 378, 404, 415, 416, 417, 418, 419,
                                420, 421, 422, 423, 424, 425, 426, 430};
    for (int id = 98; id <= 468; ++id) EXPECT_EQ(catalog(id).empty(), gaps.count(id) > 0) << id;
    for (int id : {-1, 0, 97, 469, 0x10000 + 101}) EXPECT_EQ(catalog(id), "") << id;
    // Texts the library loads and no other test shows, typed rather than
    // taken from the source, so a changed text shows.
    const std::map<int, std::string> loaded = {{116, "Insufficient disk space"},
                                               {155, "File size is zero bytes"},
                                               {342, "The file must be an ascii text file."},
                                               {427, "Wrong type of text import definition file"}};
    for (const auto& [id, text] : loaded) EXPECT_EQ(catalog(id), text) << id;

    const std::string full = catalog(374);
    const int n = static_cast<int>(full.size());
    for (int size : {n + 1, n, 1, 0, -3}) {
        std::string buffer(600, '#');
        EXPECT_EQ(get_error_string(374, buffer.data(), size), std::clamp(size - 1, 0, n));
        EXPECT_EQ(within(buffer, size), full.substr(0, std::clamp(size - 1, 0, n)));
    }
    EXPECT_EQ(get_error_string(101, nullptr, 100), 0);
}

TEST(Catalog, ReportLines) {
    // intrfere_errstr's line in `size` bytes of a buffer.
    auto line = [](int id, const char* place, const char* container, int size) {
        std::string buffer(600, '#');
        intrfere_errstr(id, place, container, buffer.data(), size);
        return within(buffer, size);
    };
    EXPECT_EQ(line(237, "P", "C", 99), "Receive signal not calculated at P in C\r\n");
    EXPECT_EQ(line(237, nullptr, "C", 99), "Receive signal not calculated - C\r\n");
    EXPECT_EQ(line(237, "P", nullptr, 99), std::string(99, '#')); // left as it was
    EXPECT_EQ(line(237, nullptr, nullptr, 8), "Receive");
    EXPECT_EQ(line(237, nullptr, nullptr, -1), "");
    // 98 characters, of which a line takes 79.
    EXPECT_EQ(line(230, nullptr, nullptr, 99), catalog(230).substr(0, 79) + "\r\n\r\n");

    // A missing code is reported as an empty one.
    const std::string report = "Duplicate radio code - \r\nExisting code - B\r\nNew code - C\r\n"
                               "The new code has not been added to the index\r\n\r\n";
    const int n = static_cast<int>(report.size());
    for (int size : {0, 1, 30, n, n + 1}) {
        std::string buffer(600, '#');
        cant_add_code(nullptr, "B", "C", false, buffer.data(), size);
        EXPECT_EQ(within(buffer, size), report.substr(0, std::max(size - 1, 0))) << size;
    }
    char buffer[99];
    cant_add_code("A", "B", "C", true, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, 28), "Duplicate antenna code - A\r\n");
}

} // namespace
