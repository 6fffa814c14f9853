// worksheet_status: lines from the catalog, EIRP values, and the growing
// buffer.
#include "jx6ut.h"
#include "frame/worksheet_growth.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string catalog(int id) {
    char text[1024];
    get_error_string(id, text, sizeof text);
    return text;
}

TEST(WorksheetStatus, Lines) {
    const struct {
        int id;
        double eirp, min_path;
        const char* line;
    } cases[] = {
        {324, 55.04, 222.222, "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm)\r\n"},
        {324, 55.04, 12.34,
         "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm 12.3 km min plen)\r\n"},
        // Only the marker itself means "no length".
        {325, -3.96, 222.2220001,
         "EIRP exceeds FCC 101 limits at site 2 (-4.0 dBm 222.2 km min plen)\r\n"},
        {0, 55.0, 1.0, ""},
    };
    for (const auto& c : cases) {
        worksheet_status log;
        log.add_eirp(c.id, c.eirp, c.min_path);
        EXPECT_STREQ(log.buff, c.line) << c.id << ' ' << c.min_path;
    }
    worksheet_status log;
    log.add(168);
    log.add(0);
    log.add(374); // the longest text: a line takes 79 characters of it
    EXPECT_EQ(std::string(log.buff),
              "Missing path length\r\n" + catalog(374).substr(0, 79) + "\r\n");
    worksheet_status extreme;
    extreme.add_eirp(168, 1e300, 1e300); // 300 digits: the line is cut at 127
    EXPECT_EQ(std::string(extreme.buff, 129), std::string(extreme.buff, 127) + "\r\n");
    EXPECT_EQ(std::strlen(extreme.buff), 129u);
}

TEST(WorksheetStatus, GrowsAcross1024AndKeepsEveryLine) {
    // "Missing frequency\r\n" is 19 bytes: 53 lines fit in 1024, the 54th
    // does not leave room for its line end and the terminator.
    worksheet_status log;
    EXPECT_EQ(log.buff_size, 1024u);
    std::string expected;
    for (int i = 1; i <= 300; ++i) {
        log.add(169);
        expected += "Missing frequency\r\n";
        if (i == 53 || i == 54) {
            EXPECT_EQ(log.buff_size, i == 53 ? 1024u : 2048u);
        }
    }
    EXPECT_EQ(log.buff_size, 6144u);
    EXPECT_EQ(std::string(log.buff), expected);
    worksheet_status copy(log);
    log.add(168);
    EXPECT_EQ(std::string(copy.buff), expected);
}

// The growth rule, including line lengths the log's own lines never reach.
TEST(WorksheetStatus, GrowthRule) {
    const struct {
        DWORD size;
        size_t used, line;
        DWORD capacity;
    } cases[] = {
        {1024, 1000, 22, 2048},
        {1024, 10, 1024, 2048},
        {1024, 10, 1025, 2052},
        // A nearly full buffer and a line of 1023 or 1024 characters need two
        // steps of 1024.
        {1024, 1023, 1024, 3072},
        {1024, 1023, 1025, 2052},
        {0xFFFFFC00u, 0xFFFFFBFFu, 10, 0}, // beyond 32 bits: refused
    };
    for (const auto& c : cases)
        EXPECT_EQ(jx::frame::detail::status_capacity(c.size, c.used, c.line), c.capacity)
            << c.size << ' ' << c.used << ' ' << c.line;
}

} // namespace
