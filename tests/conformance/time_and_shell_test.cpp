// The runtime's ctime form, as the lock message relies on it.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>

// "Www Mmm dd hh:mm:ss yyyy\n", the day zero-padded: noon of the 4th (UTC)
// is the 4th in all but the furthest time zones.
TEST(RuntimeTime, CtimeForm) {
    const __time64_t fourth = 1796385600, before_1970 = -1;
    char text[32];
    ASSERT_EQ(_ctime64_s(text, sizeof text, &fourth), 0);
    EXPECT_EQ(std::string(text, 11) + std::string(text + 19), "Fri Dec 04  2026\n");
    EXPECT_NE(_ctime64_s(text, sizeof text, &before_1970), 0);
    EXPECT_STREQ(text, "");
    EXPECT_NE(_ctime64_s(text, 25, &fourth), 0) << "the form needs 26 characters";
}
