// Roots, network drives, and paths made absolute and relative.
#include "files/path_utils.h"

#include "support/drive_mapping.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string root_of(const std::string& path, int size = MAX_PATH) {
    char destination[MAX_PATH + 8];
    std::memset(destination, '#', sizeof destination);
    set_rootdir(destination, size, path.c_str());
    // Cleared over the whole size, and nothing written beyond it.
    for (int i = static_cast<int>(std::strlen(destination)); i < size; ++i)
        EXPECT_EQ(destination[i], '\0') << path << " at " << i;
    EXPECT_EQ(destination[size], '#') << path;
    return destination;
}

// Network paths keep their server and share, device prefixes their drive.
TEST(SetRootdir, GivesTheRoot) {
    const struct {
        const char* path;
        const char* root;
    } cases[] = {{"C:\\data\\x", "C:\\"},
                 {"C:", "C:\\"},
                 {"data\\x", "data\\"},
                 {"data", "data"},
                 {"", ""},
                 {"C:data\\x", "C:data\\"},
                 {"\\\\srv\\share\\x\\y.dat", "\\\\srv\\share\\"},
                 {"\\\\srv\\share", "\\\\srv\\share\\"},
                 {"\\\\srv", "\\\\srv\\"},
                 {"\\\\?\\C:\\data\\x", "\\\\?\\C:\\"},
                 {"\\\\.\\COM1", "\\\\.\\COM1\\"},
                 {"\\\\?\\UNC\\srv\\share\\x\\y", "\\\\?\\UNC\\srv\\share\\"}};
    for (const auto& c : cases) EXPECT_EQ(root_of(c.path), c.root) << c.path;
}

TEST(SetRootdir, BoundedByTheDestinationAndByTheLongestPath) {
    EXPECT_EQ(root_of("C:\\data\\x", 3), "C:");
    EXPECT_EQ(root_of("\\\\srv\\share\\x", 8), "\\\\srv\\s");
    EXPECT_EQ(root_of("C:\\data\\x", 1), "");
    EXPECT_EQ(root_of("C:\\" + std::string(300, 'd')), "C:\\");
    EXPECT_EQ(root_of(std::string(259, 'd')), std::string(259, 'd'));
    EXPECT_EQ(root_of(std::string(260, 'd')), "");
    char untouched[4] = {'#', '#', '#', '#'};
    set_rootdir(untouched, -5, "C:\\x");
    EXPECT_EQ(untouched[0], '#');
    set_rootdir(nullptr, 10, "C:\\x");
}

TEST(IsNetworkDrive, AnswersFromTheDriveType) {
    jx::test::ScopedDriveMapping network(jx::test::ScopedDriveMapping::network);
    jx::test::ScopedDriveMapping fixed(jx::test::ScopedDriveMapping::fixed);
    if (!network.ok() || !fixed.ok()) GTEST_SKIP() << "the test drives are not mapped here";
    std::string lower = network.file("net.dat");
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    EXPECT_TRUE(is_network_drive(lower.c_str()));
    EXPECT_TRUE(is_network_drive(network.root().substr(0, 2).c_str())); // "N:"
    EXPECT_FALSE(is_network_drive(fixed.file("net.dat").c_str()));
    EXPECT_FALSE(is_network_drive(""));
    EXPECT_FALSE(is_network_drive(std::string(300, 'x').c_str()));
    EXPECT_FALSE(is_network_drive("\\\\no-such-server.invalid\\share\\f.dat"));
}

TEST(RelToAbsPath, MakesThePathAbsoluteOrRefuses) {
    const struct {
        const char* relative;
        const char* base;
        const char* absolute; // null when refused
    } cases[] = {{".\\maps\\a.dem", "C:\\proj", "C:\\proj\\maps\\a.dem"},
                 {"maps\\a.dem", "C:\\proj\\", "C:\\proj\\maps\\a.dem"},
                 {"..\\..\\other\\a.dem", "C:\\proj\\sub\\", "C:\\other\\a.dem"},
                 {".\\..\\a.dem", "\\\\srv\\share\\proj", "\\\\srv\\share\\a.dem"},
                 {"a\\..\\b", "C:\\proj", nullptr},
                 {".\\.\\b", "C:\\proj", nullptr},
                 {"..\\f", "C:", nullptr},
                 {"D:\\x", "C:\\proj", "D:\\x"},
                 {"\\\\srv\\share\\x", "C:\\proj", "\\\\srv\\share\\x"},
                 {"\\x", "C:\\proj", "C:\\proj\\\\x"}, // one backslash is still relative
                 {"", "C:\\proj", nullptr},
                 {"a.dem", "", nullptr}};
    for (const auto& c : cases) {
        const char* result = rel_to_abs_path(c.relative, c.base);
        EXPECT_STREQ(result ? result : "(null)", c.absolute ? c.absolute : "(null)")
            << c.relative << " on " << c.base;
    }
    const std::string base = "C:\\" + std::string(250, 'b'); // 253 characters
    EXPECT_NE(rel_to_abs_path("abcde", base.c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path("abcdef", base.c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path(("D:\\" + std::string(257, 'x')).c_str(), "C:\\"), nullptr);
    EXPECT_EQ(rel_to_abs_path(static_cast<const char*>(nullptr), "C:\\"), nullptr);
}

// Each relative path found also leads back from the folder of the base.
TEST(AbsToRelPath, MakesThePathRelativeAndBackAgain) {
    const struct {
        const char* absolute;
        const char* base_file;
        const char* relative;
    } cases[] = {{"C:\\proj\\maps\\a.dem", "C:\\proj\\net.dat", ".\\maps\\a.dem"},
                 {"C:\\other\\a.dem", "C:\\proj\\sub\\net.dat", "..\\..\\other\\a.dem"},
                 {"C:\\proj\\netx\\a", "C:\\proj\\net.dat", ".\\netx\\a"},
                 {"C:\\proj\\net.dat", "C:\\proj\\net.dat", ".\\net.dat"},
                 {"\\\\srv\\share\\maps\\a", "\\\\srv\\share\\proj\\n.dat", "..\\maps\\a"}};
    for (const auto& c : cases) {
        const char* result = abs_to_rel_path(c.absolute, c.base_file);
        ASSERT_NE(result, nullptr) << c.absolute << " from " << c.base_file;
        EXPECT_STREQ(result, c.relative);
        const std::string relative = result;
        const char* back = rel_to_abs_path(relative.c_str(), get_directory(c.base_file));
        ASSERT_NE(back, nullptr) << relative;
        EXPECT_STREQ(back, c.absolute);
    }
    const char* base_ends_at_split = abs_to_rel_path("C:\\proj\\a.dem", "C:\\proj");
    ASSERT_NE(base_ends_at_split, nullptr);
    EXPECT_STREQ(base_ends_at_split, ".\\a.dem");
}

TEST(AbsToRelPath, Refusals) {
    EXPECT_EQ(abs_to_rel_path("D:\\x", "C:\\y.dat"), nullptr);
    EXPECT_EQ(abs_to_rel_path("c:\\proj\\a", "C:\\proj\\n.dat"), nullptr); // case counts
    EXPECT_EQ(abs_to_rel_path("C:x", "C:y"), nullptr);
    EXPECT_EQ(abs_to_rel_path("", ""), nullptr);
    EXPECT_EQ(abs_to_rel_path(("C:\\a\\" + std::string(300, 'x')).c_str(), "C:\\a\\n"), nullptr);
    std::string deep = "C:\\a";
    for (int i = 0; i < 100; ++i) deep += "\\b";
    EXPECT_EQ(abs_to_rel_path("C:\\c\\d.dem", (deep + "\\n.dat").c_str()), nullptr);
    EXPECT_EQ(abs_to_rel_path(static_cast<const char*>(nullptr), "C:\\a"), nullptr);
}

} // namespace
