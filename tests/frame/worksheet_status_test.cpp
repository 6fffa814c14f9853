// worksheet_status: lines from the catalog, EIRP values, and the growing
// buffer.
#include "jx6ut.h"
#include "frame/worksheet_growth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WorksheetStatus, LinesAndGrowth) {
    worksheet_status log;
    log.add_eirp(324, 55.04, 222.222);
    log.add_eirp(325, -3.96, 222.2220001); // only the marker itself means "no length"
    log.add_eirp(0, 55.0, 1.0);
    log.add(0);
    log.add(230); // 98 characters, of which a line takes 79
    EXPECT_STREQ(log.buff, "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm)\r\n"
                           "EIRP exceeds FCC 101 limits at site 2 (-4.0 dBm 222.2 km min plen)\r\n"
                           "The Veldra file must contain coordinates and a path profile to be "
                           "incorporated \r\n");

    // "hours ago\r\n" is 11 bytes: 93 lines and the terminator fill 1024
    // exactly; 1024 lines fill 11 * 1024, leaving no room for the terminator.
    worksheet_status grown;
    std::string expected;
    for (int i = 0; i < 93; ++i, expected += "hours ago\r\n") grown.add(147);
    EXPECT_EQ(grown.buff_size, 1024u);
    for (int i = 93; i < 1024; ++i, expected += "hours ago\r\n") grown.add(147);
    EXPECT_EQ(grown.buff_size, 12u * 1024);
    worksheet_status copy(grown), assigned;
    assigned = copy;
    EXPECT_EQ(grown.buff + std::string(copy.buff) + assigned.buff, expected + expected + expected);
    grown.add_eirp(168, 1e300, 1e300); // 300 digits: the line is cut at 127
    EXPECT_EQ(std::string(grown.buff).substr(expected.size() + 127), "\r\n");
    // A line longer than any the log makes: after a nearly full text, a line
    // of 1024 needs two steps of 1024.
    EXPECT_EQ(jx::frame::detail::status_capacity(1024, 1023, 1024), 3072u);
}

} // namespace
