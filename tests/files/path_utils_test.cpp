// Paths split, joined, rooted, and made absolute and relative.
#include "files/path_utils.h"

#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

// Each path with what get_directory, get_filename and get_extension find,
// where only the backslash and the colon separate, and what get_directory_c
// and get_filename_c find by the generic rules: drive, server and device
// prefixes (\\?\, \\.\, \??\), either separator anywhere; a prefix followed
// by a second separator is no prefix.
TEST(PathSplit, BackslashAndGenericRules) {
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*>
        cases[] = {{"C:\\net.dat", "C:", "net.dat", ".dat", "C:\\", "net.dat"},
                   {"C:\\data\\\\", "C:\\data\\", "", "", "C:\\data", ""},
                   {"C:\\dir.old\\readme", "C:\\dir.old", "readme", "", "C:\\dir.old", "readme"},
                   {"a.tar.gz", "", "a.tar.gz", ".gz", "", "a.tar.gz"},
                   {"C:/data/net.dat", "C:", "/data/net.dat", ".dat", "C:/data", "net.dat"},
                   {"\\\\srv\\share\\f", "\\\\srv\\share", "f", "", "\\\\srv\\share", "f"},
                   {"\\\\srv\\share", "\\\\srv", "share", "", "\\\\srv\\", "share"},
                   {"\\\\?\\C:\\d\\f", "\\\\?\\C:\\d", "f", "", "\\\\?\\C:\\d", "f"},
                   {"\\\\.\\COM1", "\\\\.", "COM1", "", "\\\\.\\", "COM1"},
                   {"/?\?/C:", "/?\?/C:", "", "", "/?\?/", "C:"},
                   {"\\?\?\\\\x", "\\?\?\\", "x", "", "\\?\?", "x"}};
    for (const auto& [path, directory, name, extension, directory_c, name_c] : cases) {
        const char* const end = path + std::strlen(path); // the answers point into the path
        EXPECT_EQ(get_filename(path), end - std::strlen(name)) << path;
        EXPECT_EQ(get_extension(path), end - std::strlen(extension)) << path;
        EXPECT_STREQ(get_directory(path), directory) << path;
        EXPECT_EQ(get_directory_c(path), directory_c) << path;
        EXPECT_EQ(get_filename_c(path), name_c) << path;
    }
    EXPECT_EQ(get_filename(static_cast<char*>(nullptr)), nullptr);
    EXPECT_STREQ(get_directory(static_cast<char*>(nullptr)), "");
    // get_directory finds a folder that fits its buffer; the generic rules
    // take any length and every byte of the code page.
    const std::string folder = "C:\\" + std::string(256, 'd'); // 259 characters
    EXPECT_EQ(get_directory((folder + "\\" + std::string(300, 'n')).c_str()), folder);
    EXPECT_STREQ(get_directory((folder + "d\\n").c_str()), "");
    std::string bytes;
    for (int code = 0x20; code < 0x100; ++code)
        if (code != '\\' && code != '/' && code != ':') bytes += static_cast<char>(code);
    EXPECT_EQ(get_filename_c((folder + "d\\" + bytes).c_str()), bytes);
    EXPECT_EQ(get_directory_c((folder + "d\\" + bytes).c_str()), folder + "d");
}

TEST(SetPath, JoinsWithOneBackslashWithin259Characters) {
    EXPECT_STREQ(set_path("C:\\data", "a.txt", false), "C:\\data\\a.txt");
    EXPECT_STREQ(set_path("C:\\data\\", "a.txt", false), "C:\\data\\a.txt");
    EXPECT_STREQ(set_path("", "a.txt", false), "a.txt");       // a name in the current folder
    const std::string folder = "C:\\" + std::string(250, 'd'); // 253 characters
    EXPECT_STREQ(set_path(folder.c_str(), "a.txt", false), (folder + "\\a.txt").c_str());
    EXPECT_EQ(set_path(folder.c_str(), "ab.txt", false), nullptr);
    jx::test::TempDir dir;
    dir.write("present.dat", "x");
    EXPECT_NE(set_path(dir.path().c_str(), "present.dat", true), nullptr);
    EXPECT_EQ(set_path(dir.path().c_str(), "absent.dat", true), nullptr);
}

// Checks that the destination is cleared over its whole size and that nothing
// is written beyond it.
static std::string root_of(const std::string& path, int size = MAX_PATH) {
    char destination[MAX_PATH + 1];
    std::memset(destination, '#', sizeof destination);
    set_rootdir(destination, size, path.c_str());
    const std::string root = destination;
    EXPECT_EQ(std::string(destination, size + 1),
              root + std::string(size - root.size(), '\0') + '#');
    return root;
}

// Network paths keep their server and share, device prefixes their drive:
// the roots that Windows answers a drive type for.
TEST(SetRootdir, GivesTheRootWithinTheDestination) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\data\\x", "C:\\"},  {"\\\\srv\\share\\x\\y.dat", "\\\\srv\\share\\"},
        {"C:", "C:\\"},           {"\\\\?\\C:\\data\\x", "\\\\?\\C:\\"},
        {"data\\x", "data\\"},    {"\\\\.\\COM1", "\\\\.\\COM1\\"},
        {"\\\\srv", "\\\\srv\\"}, {"\\\\?\\UNC\\srv\\share\\x\\y", "\\\\?\\UNC\\srv\\share\\"}};
    for (const auto& [path, root] : cases) EXPECT_EQ(root_of(path), root) << path;
    EXPECT_EQ(root_of("C:\\data\\x", 3), "C:");
    EXPECT_EQ(root_of(std::string(259, 'd')), std::string(259, 'd'));
    EXPECT_EQ(root_of(std::string(260, 'd')), "");
    char untouched[4] = "##";
    set_rootdir(untouched, -5, "C:\\x");
    EXPECT_STREQ(untouched, "##");
    set_rootdir(nullptr, 10, "C:\\x");
}

TEST(IsNetworkDrive, AnswersFromTheDriveType) {
    jx::test::ScopedDriveMapping network(jx::test::ScopedDriveMapping::network);
    if (!network.ok()) GTEST_SKIP() << "the test drive is not mapped here";
    EXPECT_TRUE(is_network_drive(network.file("net.dat").c_str()));
    EXPECT_FALSE(is_network_drive("C:\\net.dat"));
}

// Only leading ".\" and "..\" are understood; one backslash is still relative.
// Each relative path found leads back from the folder of the base file. The
// comparison is exact, case included, and the result bounded like any path.
// (Two levels up, and another drive, are jxut's path-relative, path-absolute
// and path-refused cases.)
TEST(RelativePaths, MadeAbsoluteAndRelativeOrRefused) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a\\..\\b", "C:\\proj", nullptr}, {"maps\\a.dem", "C:\\proj\\", "C:\\proj\\maps\\a.dem"},
        {".\\.\\b", "C:\\proj", nullptr},  {".\\..\\a", "\\\\srv\\sh\\p", "\\\\srv\\sh\\a"},
        {"..\\f", "C:", nullptr},          {"\\\\srv\\share\\x", "C:\\proj", "\\\\srv\\share\\x"},
        {"", "C:\\proj", "C:\\proj\\"},    {"\\x", "C:\\proj", "C:\\proj\\\\x"},
        {"D:\\x", "C:\\proj", "D:\\x"},    {".\\maps\\a.dem", "", "\\maps\\a.dem"}};
    for (const auto& [relative, base, absolute] : cases)
        EXPECT_STREQ(rel_to_abs_path(relative, base), absolute) << relative << " on " << base;
    const std::string base = "C:\\" + std::string(250, 'b'); // 253 characters
    EXPECT_NE(rel_to_abs_path("abcde", base.c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path("abcdef", base.c_str()), nullptr);
    EXPECT_EQ(rel_to_abs_path(("D:\\" + std::string(257, 'x')).c_str(), "C:\\"),
              "D:\\" + std::string(256, 'x')); // an absolute path is cut, not refused
    EXPECT_EQ(rel_to_abs_path(static_cast<const char*>(nullptr), "C:\\"), nullptr);
    const std::tuple<const char*, const char*, const char*> round_trips[] = {
        {"C:\\proj\\netx\\a", "C:\\proj\\net.dat", ".\\netx\\a"},
        {"C:\\proj\\net.dat", "C:\\proj\\net.dat", ".\\net.dat"},
        {"\\\\srv\\share\\maps\\a", "\\\\srv\\share\\proj\\n.dat", "..\\maps\\a"}};
    for (const auto& [absolute, base_file, relative] : round_trips) {
        const char* const result = abs_to_rel_path(absolute, base_file);
        EXPECT_STREQ(result, relative) << absolute << " from " << base_file;
        EXPECT_STREQ(rel_to_abs_path(result ? result : "", get_directory(base_file)), absolute);
    }
    EXPECT_STREQ(abs_to_rel_path("C:\\proj\\a.dem", "C:\\proj"), ".\\a.dem");
    EXPECT_EQ(abs_to_rel_path("c:\\proj\\a", "C:\\proj\\n.dat"), nullptr);
    EXPECT_EQ(abs_to_rel_path("\\\\one\\a", "\\\\two\\b"), nullptr);
    EXPECT_EQ(abs_to_rel_path(("C:\\a\\" + std::string(300, 'x')).c_str(), "C:\\a\\n"), nullptr);
    EXPECT_EQ(abs_to_rel_path(static_cast<const char*>(nullptr), "C:\\a"), nullptr);
}
