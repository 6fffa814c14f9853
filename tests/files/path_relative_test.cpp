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

struct RootCase {
    const char* path;
    const char* root;
};

class SetRootdir : public ::testing::TestWithParam<RootCase> {};

TEST_P(SetRootdir, GivesTheRoot) {
    EXPECT_EQ(root_of(GetParam().path), GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(Drives, SetRootdir,
                         ::testing::Values(RootCase{"C:\\data\\x", "C:\\"}, RootCase{"C:", "C:\\"},
                                           RootCase{"C:\\", "C:\\"}, RootCase{"data\\x", "data\\"},
                                           RootCase{"data", "data"}, RootCase{"", ""},
                                           RootCase{"\\x\\y", "\\"},
                                           RootCase{"C:data\\x", "C:data\\"},
                                           RootCase{"C:data", "C:data"}));

// Network paths keep their server and share; device prefixes their drive.
INSTANTIATE_TEST_SUITE_P(
    Network, SetRootdir,
    ::testing::Values(RootCase{"\\\\srv\\share\\x", "\\\\srv\\share\\"},
                      RootCase{"\\\\srv\\share\\x\\y.dat", "\\\\srv\\share\\"},
                      RootCase{"\\\\srv\\share", "\\\\srv\\share\\"},
                      RootCase{"\\\\srv\\share\\", "\\\\srv\\share\\"},
                      RootCase{"\\\\srv", "\\\\srv\\"}, RootCase{"\\\\", "\\\\"},
                      RootCase{"\\\\?\\C:\\data\\x", "\\\\?\\C:\\"},
                      RootCase{"\\\\.\\C:\\data", "\\\\.\\C:\\"},
                      RootCase{"\\\\.\\COM1", "\\\\.\\COM1\\"},
                      RootCase{"\\\\?\\UNC\\srv\\share\\x\\y", "\\\\?\\UNC\\srv\\share\\"},
                      RootCase{"\\\\?\\unc\\srv\\share", "\\\\?\\unc\\srv\\share\\"}));

TEST(SetRootdirLimits, TheDestinationTakesSizeMinusOneCharacters) {
    EXPECT_EQ(root_of("C:\\data\\x", 3), "C:");
    EXPECT_EQ(root_of("C:\\data\\x", 4), "C:\\");
    EXPECT_EQ(root_of("\\\\srv\\share\\x", 8), "\\\\srv\\s");
    EXPECT_EQ(root_of("C:\\data\\x", 1), "");
    char untouched[4] = {'#', '#', '#', '#'};
    set_rootdir(untouched, 0, "C:\\x");
    set_rootdir(untouched, -5, "C:\\x");
    EXPECT_EQ(untouched[0], '#');
    set_rootdir(nullptr, 10, "C:\\x"); // must not crash
}

TEST(SetRootdirLimits, LongPathsGiveTheirRootOrNothing) {
    EXPECT_EQ(root_of("C:\\" + std::string(300, 'd')), "C:\\");
    EXPECT_EQ(root_of("\\\\srv\\share\\" + std::string(300, 'd')), "\\\\srv\\share\\");
    EXPECT_EQ(root_of(std::string(259, 'd')), std::string(259, 'd'));
    EXPECT_EQ(root_of(std::string(260, 'd')), "");
    EXPECT_EQ(root_of(std::string(300, 'd') + "\\x"), "");
    char destination[8];
    set_rootdir(destination, sizeof destination, static_cast<const char*>(nullptr));
    EXPECT_STREQ(destination, "");
}

TEST(IsNetworkDrive, AnswersFromTheDriveType) {
    jx::test::ScopedDriveMapping network(jx::test::ScopedDriveMapping::network);
    jx::test::ScopedDriveMapping fixed(jx::test::ScopedDriveMapping::fixed);
    if (!network.ok() || !fixed.ok()) GTEST_SKIP() << "the test drives are not mapped here";
    EXPECT_TRUE(is_network_drive(network.file("net.dat").c_str()));
    EXPECT_TRUE(is_network_drive(network.root().c_str()));
    EXPECT_TRUE(is_network_drive(network.root().substr(0, 2).c_str())); // "N:"
    std::string lower = network.file("net.dat");
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    EXPECT_TRUE(is_network_drive(lower.c_str()));
    EXPECT_FALSE(is_network_drive(fixed.file("net.dat").c_str()));
    EXPECT_FALSE(is_network_drive(fixed.root().substr(0, 2).c_str()));
}

TEST(IsNetworkDrive, PathsWithoutADriveOfTheNetwork) {
    EXPECT_FALSE(is_network_drive(""));
    EXPECT_FALSE(is_network_drive(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(is_network_drive(std::string(300, 'x').c_str()));
    // A share that does not exist has no drive type.
    EXPECT_FALSE(is_network_drive("\\\\no-such-server.invalid\\share\\f.dat"));
}

struct AbsoluteCase {
    const char* relative;
    const char* base;
    const char* absolute; // null when refused
};

class RelToAbsPath : public ::testing::TestWithParam<AbsoluteCase> {};

TEST_P(RelToAbsPath, MakesThePathAbsolute) {
    const AbsoluteCase& c = GetParam();
    const char* result = rel_to_abs_path(c.relative, c.base);
    if (!c.absolute) {
        EXPECT_EQ(result, nullptr) << c.relative << " on " << c.base << " gave " << result;
    } else {
        ASSERT_NE(result, nullptr) << c.relative << " on " << c.base;
        EXPECT_STREQ(result, c.absolute);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RelToAbsPath,
    ::testing::Values(
        AbsoluteCase{".\\maps\\a.dem", "C:\\proj", "C:\\proj\\maps\\a.dem"},
        AbsoluteCase{".\\maps\\a.dem", "C:\\proj\\", "C:\\proj\\maps\\a.dem"},
        AbsoluteCase{"maps\\a.dem", "C:\\proj", "C:\\proj\\maps\\a.dem"},
        AbsoluteCase{"..\\..\\other\\a.dem", "C:\\proj\\sub\\", "C:\\other\\a.dem"},
        AbsoluteCase{".\\..\\a.dem", "C:\\proj\\sub", "C:\\proj\\a.dem"},
        AbsoluteCase{"..\\a.dem", "\\\\srv\\share\\proj", "\\\\srv\\share\\a.dem"},
        AbsoluteCase{"a\\..\\b", "C:\\proj", nullptr}, AbsoluteCase{"a\\.\\b", "C:\\proj", nullptr},
        AbsoluteCase{".\\.\\b", "C:\\proj", nullptr}, AbsoluteCase{"..\\f", "C:", nullptr},
        AbsoluteCase{"..\\..\\f", "C:\\proj", nullptr},
        // Already absolute: given back as it is, whatever the base.
        AbsoluteCase{"D:\\x", "C:\\proj", "D:\\x"}, AbsoluteCase{"D:x", "C:\\proj", "D:x"},
        AbsoluteCase{"\\\\srv\\share\\x", "C:\\proj", "\\\\srv\\share\\x"},
        AbsoluteCase{"\\\\?\\C:\\x", "C:\\proj", "\\\\?\\C:\\x"},
        // A single backslash does not make a path absolute.
        AbsoluteCase{"\\x", "C:\\proj", "C:\\proj\\\\x"}, AbsoluteCase{"", "C:\\proj", nullptr},
        AbsoluteCase{"a.dem", "", nullptr}));

TEST(RelToAbsPathLimits, EveryResultFits259Characters) {
    const std::string base = "C:\\" + std::string(250, 'b');    // 253 characters
    EXPECT_NE(rel_to_abs_path("abcde", base.c_str()), nullptr); // 259
    EXPECT_EQ(rel_to_abs_path("abcdef", base.c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path("a", ("C:\\" + std::string(257, 'b')).c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path(("D:\\" + std::string(257, 'x')).c_str(), "C:\\"), nullptr);
    EXPECT_NE(rel_to_abs_path(("D:\\" + std::string(256, 'x')).c_str(), "C:\\"), nullptr);
    EXPECT_EQ(rel_to_abs_path(std::string(300, 'x').c_str(), "C:\\"), nullptr);
    EXPECT_EQ(rel_to_abs_path(static_cast<const char*>(nullptr), "C:\\"), nullptr);
    EXPECT_EQ(rel_to_abs_path("a", static_cast<const char*>(nullptr)), nullptr);
}

struct RelativeCase {
    const char* absolute;
    const char* base_file;
    const char* relative; // null when refused
};

class AbsToRelPath : public ::testing::TestWithParam<RelativeCase> {};

TEST_P(AbsToRelPath, MakesThePathRelativeToTheBasesFolder) {
    const RelativeCase& c = GetParam();
    const char* result = abs_to_rel_path(c.absolute, c.base_file);
    if (!c.relative) {
        EXPECT_EQ(result, nullptr) << c.absolute << " from " << c.base_file << " gave " << result;
        return;
    }
    ASSERT_NE(result, nullptr) << c.absolute << " from " << c.base_file;
    EXPECT_STREQ(result, c.relative);
    // And back again, from the folder that holds the base.
    const std::string relative = result;
    const char* absolute = rel_to_abs_path(relative.c_str(), get_directory(c.base_file));
    ASSERT_NE(absolute, nullptr) << relative;
    EXPECT_STREQ(absolute, c.absolute);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AbsToRelPath,
    ::testing::Values(
        RelativeCase{"C:\\proj\\maps\\a.dem", "C:\\proj\\net.dat", ".\\maps\\a.dem"},
        RelativeCase{"C:\\other\\a.dem", "C:\\proj\\sub\\net.dat", "..\\..\\other\\a.dem"},
        RelativeCase{"C:\\proj\\netx\\a", "C:\\proj\\net.dat", ".\\netx\\a"},
        RelativeCase{"C:\\proj\\a.dem", "C:\\proj\\sub\\net.dat", "..\\a.dem"},
        RelativeCase{"C:\\proj\\net.dat", "C:\\proj\\net.dat", ".\\net.dat"},
        RelativeCase{"C:\\proj\\net.dat", "C:\\proj\\net.dat.bak", ".\\net.dat"},
        RelativeCase{"\\\\srv\\share\\maps\\a.dem", "\\\\srv\\share\\proj\\n.dat",
                     "..\\maps\\a.dem"},
        RelativeCase{"C:\\proj\\sub\\deeper\\a.dem", "C:\\proj\\n.dat", ".\\sub\\deeper\\a.dem"}));

INSTANTIATE_TEST_SUITE_P(Refused, AbsToRelPath,
                         ::testing::Values(RelativeCase{"D:\\x", "C:\\y.dat", nullptr},
                                           RelativeCase{"c:\\proj\\a", "C:\\proj\\n.dat", nullptr},
                                           RelativeCase{"C:x", "C:y", nullptr},
                                           RelativeCase{"C:", "C:", nullptr},
                                           RelativeCase{"", "", nullptr},
                                           RelativeCase{"abc", "abd", nullptr}));

// Cases whose relative form does not lead back by the same text.
TEST(AbsToRelPathShapes, BaseEndingAtTheSplitPoint) {
    const char* result = abs_to_rel_path("C:\\proj\\a.dem", "C:\\proj");
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, ".\\a.dem");
    result = abs_to_rel_path("C:\\proj", "C:\\proj\\net.dat");
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "..\\proj");
}

TEST(AbsToRelPathShapes, EveryResultFits259Characters) {
    const std::string deep = "C:\\a\\" + std::string(250, 'x'); // 255 characters
    const char* fits = abs_to_rel_path(deep.c_str(), "C:\\a\\n.dat");
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(std::strlen(fits), 252u);
    std::string base = "C:\\a";
    for (int i = 0; i < 100; ++i) base += "\\b";
    base += "\\n.dat"; // 100 levels of "..\" take 300 characters
    EXPECT_EQ(abs_to_rel_path("C:\\c\\d.dem", base.c_str()), nullptr);
    const std::string long_path = "C:\\a\\" + std::string(300, 'x');
    EXPECT_EQ(abs_to_rel_path(long_path.c_str(), "C:\\a\\n.dat"), nullptr);
    EXPECT_EQ(abs_to_rel_path(static_cast<const char*>(nullptr), "C:\\a"), nullptr);
    EXPECT_EQ(abs_to_rel_path("C:\\a", static_cast<const char*>(nullptr)), nullptr);
}

} // namespace
