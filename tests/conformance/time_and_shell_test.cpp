// The runtime's ctime form, folder items and the folder dialog's numbers, as
// the lock message and the folder choice rely on them.
#include "platform/win32.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "Www Mmm dd hh:mm:ss yyyy\n", the day zero-padded: noon of the 4th (UTC)
// is the 4th in all but the furthest time zones.
TEST(RuntimeTime, CtimeForm) {
    const __time64_t fourth = 1796385600, before_1970 = -1;
    char text[32];
    ASSERT_EQ(_ctime64_s(text, sizeof text, &fourth), 0);
    EXPECT_EQ(std::string(text).size(), 25u) << text;
    EXPECT_EQ(std::string(text, 11) + std::string(text + 19), "Fri Dec 04  2026\n");
    EXPECT_NE(_ctime64_s(text, sizeof text, &before_1970), 0);
    EXPECT_STREQ(text, "");
    EXPECT_NE(_ctime64_s(text, 25, &fourth), 0) << "the form needs 26 characters";
}

TEST(FolderItems, OnlyFileSystemItemsHaveAPath) {
    jx::test::TempDir dir;
    LPITEMIDLIST folder = ILCreateFromPathA(dir.path().c_str()), computer = nullptr;
    char path[MAX_PATH] = "";
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(SHGetPathFromIDListA(folder, path));
    EXPECT_EQ(std::string(path), dir.path());
    EXPECT_EQ(ILCreateFromPathA(dir.file("missing").c_str()), nullptr);
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    EXPECT_FALSE(SHGetPathFromIDListA(computer, path));
    EXPECT_STREQ(path, "");
    ILFree(folder);
    ILFree(computer);
    EXPECT_EQ(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_BROWSEINCLUDEFILES, 0x4005u);
    EXPECT_EQ(BFFM_SETSTATUSTEXTA, 0x464);
    EXPECT_EQ(BFFM_SETSELECTIONA, 0x466);
}

} // namespace
