// Facts about the runtime's ctime form, folder items and the folder dialog's
// message numbers that the lock message and the folder choice rely on.
#include "platform/win32.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

// "Www Mmm dd hh:mm:ss yyyy\n": fixed width, the day zero-padded.
bool has_ctime_form(const std::string& text) {
    const char* shape = "Aaa Aaa 00 00:00:00 0000\n";
    if (text.size() != std::strlen(shape)) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool fits = shape[i] == '0'   ? std::isdigit(c) != 0
                          : shape[i] == 'A' ? std::isupper(c) != 0
                          : shape[i] == 'a' ? std::islower(c) != 0
                                            : c == static_cast<unsigned char>(shape[i]);
        if (!fits) return false;
    }
    return true;
}

TEST(RuntimeTime, CtimeFormPadsTheDayWithAZero) {
    // Noon of the 4th in UTC stays the 4th in every time zone but the
    // furthest east.
    const __time64_t fourth = 1796385600; // 2026-12-04 12:00:00 UTC
    const __time64_t times[] = {0 + 43200, fourth, 2147483647, 4294967295};
    for (__time64_t t : times) {
        char text[32];
        ASSERT_EQ(_ctime64_s(text, sizeof text, &t), 0) << t;
        EXPECT_TRUE(has_ctime_form(text)) << "[" << text << "]";
    }
    char text[32];
    ASSERT_EQ(_ctime64_s(text, sizeof text, &fourth), 0);
    EXPECT_EQ(std::string(text).substr(0, 11), "Fri Dec 04 ");
    EXPECT_EQ(std::string(text).substr(19), " 2026\n");
}

TEST(RuntimeTime, CtimeRefusesWhatItCannotWrite) {
    const __time64_t before_1970 = -1, fine = 1796385600;
    char text[32] = "untouched";
    EXPECT_NE(_ctime64_s(text, sizeof text, &before_1970), 0);
    EXPECT_STREQ(text, "");
    EXPECT_NE(_ctime64_s(text, 25, &fine), 0) << "the form needs 26 characters";
    EXPECT_NE(_time64(nullptr), 0);
}

TEST(FolderItems, OnlyFileSystemItemsHaveAPath) {
    jx::test::TempDir dir;
    LPITEMIDLIST folder = ILCreateFromPathA(dir.path().c_str());
    ASSERT_NE(folder, nullptr);
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetPathFromIDListA(folder, path));
    EXPECT_EQ(std::string(path), dir.path());
    ILFree(folder);

    EXPECT_EQ(ILCreateFromPathA(dir.file("missing").c_str()), nullptr);

    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    ASSERT_NE(computer, nullptr);
    std::strcpy(path, "stale");
    EXPECT_FALSE(SHGetPathFromIDListA(computer, path));
    EXPECT_STREQ(path, "");
    ILFree(computer);
}

TEST(FolderItems, DialogNumbers) {
    EXPECT_EQ(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_BROWSEINCLUDEFILES, 0x4005u);
    EXPECT_EQ(BFFM_INITIALIZED, 1);
    EXPECT_EQ(BFFM_SELCHANGED, 2);
    EXPECT_EQ(BFFM_SETSTATUSTEXTA, 0x464);
    EXPECT_EQ(BFFM_SETSELECTIONA, 0x466);
}

} // namespace
