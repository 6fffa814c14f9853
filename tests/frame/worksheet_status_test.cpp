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

TEST(WorksheetStatus, StartsEmpty) {
    worksheet_status log;
    EXPECT_EQ(log.buff_size, 1024u);
    ASSERT_NE(log.buff, nullptr);
    EXPECT_STREQ(log.buff, "");
}

struct LineCase {
    int id;
    double eirp;
    double min_path;
    const char* line;
};

TEST(WorksheetStatus, EirpLines) {
    const LineCase cases[] = {
        {324, 55.04, 222.222, "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm)"},
        {324, 55.04, 12.34, "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm 12.3 km min plen)"},
        {325, -3.96, 0.0, "EIRP exceeds FCC 101 limits at site 2 (-4.0 dBm 0.0 km min plen)"},
        // Only the marker itself counts as "no length".
        {325, 61.0, 222.2220001,
         "EIRP exceeds FCC 101 limits at site 2 (61.0 dBm 222.2 km min plen)"},
        {200, 40.0, 222.222, " (40.0 dBm)"},
    };
    for (const LineCase& c : cases) {
        worksheet_status log;
        log.add_eirp(c.id, c.eirp, c.min_path);
        EXPECT_EQ(std::string(log.buff), std::string(c.line) + "\r\n") << c.id << ' ' << c.min_path;
    }
}

TEST(WorksheetStatus, LinesInOrderAndIdZeroAddsNothing) {
    worksheet_status log;
    log.add(0);
    log.add_eirp(0, 55.0, 1.0);
    EXPECT_STREQ(log.buff, "");
    log.add(168);
    log.add(0);
    log.add(169);
    log.add(200); // no catalog text: an empty line
    EXPECT_STREQ(log.buff, "Missing path length\r\nMissing frequency\r\n\r\n");
    EXPECT_EQ(log.buff_size, 1024u);
}

TEST(WorksheetStatus, CatalogTextAndLineAreCut) {
    worksheet_status log;
    log.add(374); // 175 characters: a line takes 79
    EXPECT_EQ(std::string(log.buff), catalog(374).substr(0, 79) + "\r\n");

    worksheet_status eirp;
    eirp.add_eirp(374, 1e300, 1e300);
    const std::string text = eirp.buff;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.size(), 127u + 2u);
    EXPECT_EQ(text.substr(0, 79), catalog(374).substr(0, 79));
    EXPECT_EQ(text.substr(127), "\r\n");
}

TEST(WorksheetStatus, GrowsAcross1024AndKeepsEveryLine) {
    // "Missing frequency\r\n" is 19 bytes; 53 lines make 1007, the 54th would
    // leave no room for the terminator's reserve.
    worksheet_status log;
    std::string expected;
    for (int i = 0; i < 53; ++i) {
        log.add(169);
        expected += "Missing frequency\r\n";
    }
    EXPECT_EQ(log.buff_size, 1024u);
    log.add(169);
    expected += "Missing frequency\r\n";
    EXPECT_EQ(log.buff_size, 2048u);
    EXPECT_EQ(std::string(log.buff), expected);
    for (int i = 0; i < 200; ++i) {
        log.add_eirp(324, 55.04, 222.222);
        expected += "EIRP exceeds FCC 101 limits at site 1 (55.0 dBm)\r\n";
        ASSERT_LT(std::strlen(log.buff), log.buff_size);
        ASSERT_EQ(log.buff_size % 1024, 0u);
    }
    EXPECT_EQ(std::string(log.buff), expected);
}

TEST(WorksheetStatus, CopiesOwnTheirBuffers) {
    worksheet_status original;
    original.add(168);
    worksheet_status copy(original);
    EXPECT_NE(copy.buff, original.buff);
    original.add(169);
    EXPECT_STREQ(copy.buff, "Missing path length\r\n");
    worksheet_status assigned;
    assigned = original;
    EXPECT_STREQ(assigned.buff, "Missing path length\r\nMissing frequency\r\n");
    EXPECT_EQ(assigned.buff_size, original.buff_size);
}

struct GrowthCase {
    DWORD size;
    size_t used;
    size_t line;
    DWORD capacity;
};

// The growth rule, including line lengths the log's own lines never reach.
TEST(WorksheetGrowth, Capacity) {
    using jx::frame::detail::status_capacity;
    const GrowthCase cases[] = {
        {1024, 0, 0, 1024},
        {1024, 1000, 21, 1024},
        {1024, 1000, 22, 2048},
        {1024, 1023, 1, 2048},
        {1024, 0, 1021, 1024},
        {1024, 0, 1022, 2048},
        {1024, 10, 1024, 2048},
        {1024, 10, 1025, 2052},
        {2048, 100, 5000, 7051},
        {1024, 1023, 1022, 2048},
        // A nearly full buffer and a line of 1023 or 1024 characters need two
        // steps of 1024.
        {1024, 1023, 1023, 3072},
        {1024, 1023, 1024, 3072},
        {1024, 1023, 1025, 2052},
        {0xFFFFFC00u, 0xFFFFFBFFu, 10, 0},
    };
    for (const GrowthCase& c : cases)
        EXPECT_EQ(status_capacity(c.size, c.used, c.line), c.capacity)
            << c.size << ' ' << c.used << ' ' << c.line;
}

} // namespace
