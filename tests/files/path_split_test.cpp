// Paths split into folder, file name and extension, and joined again.
#include "files/path_utils.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct SplitCase {
    const char* path;
    const char* directory; // get_directory
    const char* file_name; // get_filename
    const char* extension; // get_extension
};

// get_filename and get_extension point into their argument, and only the
// backslash and the colon separate.
TEST(BackslashSplit, FolderFileNameAndExtension) {
    const SplitCase cases[] = {{"C:\\data\\net.dat", "C:\\data", "net.dat", ".dat"},
                               {"C:\\net.dat", "C:", "net.dat", ".dat"},
                               {"C:net.dat", "C:", "net.dat", ".dat"},
                               {"net.dat", "", "net.dat", ".dat"},
                               {"C:\\data\\", "C:\\data", "", ""},
                               {"C:\\data\\\\", "C:\\data\\", "", ""},
                               {"C:\\dir.old\\readme", "C:\\dir.old", "readme", ""},
                               {"a.tar.gz", "", "a.tar.gz", ".gz"},
                               {"C:\\d\\.profile", "C:\\d", ".profile", ".profile"},
                               {"\\\\srv\\share\\f", "\\\\srv\\share", "f", ""},
                               {"\\\\.\\COM1", "\\\\.", "COM1", ""},
                               {"C:/data/net.dat", "C:", "/data/net.dat", ".dat"},
                               {"", "", "", ""}};
    for (const SplitCase& c : cases) {
        std::string path = c.path;
        char* name = get_filename(&path[0]);
        char* extension = get_extension(&path[0]);
        ASSERT_TRUE(name >= path.data() && name <= path.data() + path.size()) << c.path;
        ASSERT_TRUE(extension >= name && extension <= path.data() + path.size()) << c.path;
        EXPECT_STREQ(name, c.file_name) << c.path;
        EXPECT_STREQ(extension, c.extension) << c.path;
        EXPECT_STREQ(get_directory(&path[0]), c.directory) << c.path;
    }
    EXPECT_EQ(get_filename(static_cast<char*>(nullptr)), nullptr);
    EXPECT_EQ(get_extension(static_cast<char*>(nullptr)), nullptr);
    EXPECT_STREQ(get_directory(static_cast<char*>(nullptr)), "");
}

TEST(BackslashSplit, LongPathsGiveTheFolderWhenItFits) {
    const std::string folder = "C:\\" + std::string(256, 'd'); // 259 characters
    EXPECT_EQ(get_directory((folder + "\\" + std::string(300, 'n')).c_str()), folder);
    EXPECT_STREQ(get_directory((folder + "d\\n").c_str()), "");
    EXPECT_STREQ(get_directory(std::string(300, 'n').c_str()), "");
    // The buffer is shared and rewritten by the next call.
    char* first = get_directory("C:\\one\\a.dat");
    EXPECT_EQ(get_directory("C:\\two\\b.dat"), first);
    EXPECT_STREQ(first, "C:\\two");
}

// The generic decomposition: drives, servers and the device prefixes \\?\,
// \\.\ and \??\, either separator anywhere.
TEST(GenericSplit, ParentAndFileName) {
    const struct {
        const char* path;
        const char* directory;
        const char* file_name;
    } cases[] = {{"C:\\net.dat", "C:\\", "net.dat"},
                 {"C:/data/net.dat", "C:/data", "net.dat"},
                 {"C:\\data\\", "C:\\data", ""},
                 {"C:\\data/\\sub", "C:\\data", "sub"},
                 {"C:net.dat", "C:", "net.dat"},
                 {"C:", "C:", ""},
                 {"c:\\\\x", "c:\\\\", "x"},
                 {"net.dat", "", "net.dat"},
                 {"", "", ""},
                 {"a/b//", "a/b", ""},
                 {"\\x", "\\", "x"},
                 {"\\\\srv\\share\\f", "\\\\srv\\share", "f"},
                 {"\\\\srv\\share", "\\\\srv\\", "share"},
                 {"\\\\srv", "\\\\srv", ""},
                 {"\\\\?\\C:\\d\\f", "\\\\?\\C:\\d", "f"},
                 {"\\\\.\\COM1", "\\\\.\\", "COM1"},
                 {"/?\?/C:", "/?\?/", "C:"},
                 {"\\\\?\\\\x", "\\\\?\\\\", "x"}, // a fifth separator: a server named "?"
                 {"\\\\", "\\\\", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(get_directory_c(c.path), c.directory) << c.path;
        EXPECT_EQ(get_filename_c(c.path), c.file_name) << c.path;
    }
    EXPECT_EQ(get_directory_c(nullptr), "");
}

TEST(GenericSplit, EveryByteOfTheCodePageAndAnyLengthSurvive) {
    std::string name;
    for (int code = 0x20; code < 0x100; ++code)
        if (code != '\\' && code != '/' && code != ':') name += static_cast<char>(code);
    EXPECT_EQ(get_filename_c(("C:\\d\\" + name).c_str()), name);
    EXPECT_EQ(get_directory_c((name + "\\f").c_str()), name);
    const std::string folder = "C:\\" + std::string(300, 'd');
    EXPECT_EQ(get_directory_c((folder + "\\" + name).c_str()), folder);
}

TEST(SetPath, JoinsWithOneBackslashWithin259Characters) {
    const struct {
        const char* directory;
        const char* name;
        const char* path;
    } cases[] = {{"C:\\data", "a.txt", "C:\\data\\a.txt"},
                 {"C:\\data\\", "a.txt", "C:\\data\\a.txt"},
                 {"C:", "a.txt", "C:\\a.txt"},
                 {"", "a.txt", "a.txt"}, // no folder: the name in the current folder
                 {nullptr, "a.txt", "a.txt"}};
    for (const auto& c : cases) {
        const char* joined = set_path(c.directory, c.name, false);
        ASSERT_NE(joined, nullptr) << c.path;
        EXPECT_STREQ(joined, c.path);
    }
    const std::string folder = "C:\\" + std::string(250, 'd'); // 253 characters
    const char* fits = set_path(folder.c_str(), "a.txt", false);
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(std::strlen(fits), 259u);
    EXPECT_EQ(set_path(folder.c_str(), "ab.txt", false), nullptr);
    EXPECT_EQ(set_path("C:\\", std::string(300, 'n').c_str(), false), nullptr);
    EXPECT_EQ(set_path("C:\\", nullptr, false), nullptr);
}

TEST(SetPath, MustExistAsksTheFileSystem) {
    jx::test::TempDir dir;
    dir.write("present.dat", "x");
    EXPECT_NE(set_path(dir.path().c_str(), "present.dat", true), nullptr);
    EXPECT_EQ(set_path(dir.path().c_str(), "absent.dat", true), nullptr);
    EXPECT_NE(set_path(dir.path().c_str(), "absent.dat", false), nullptr);
}

} // namespace
