// Paths split into folder, file name and extension, and joined again.
#include "files/path_utils.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <system_error>

namespace {

struct SplitCase {
    const char* path;
    const char* expected;
};

std::string filename_of(std::string path) {
    char* result = get_filename(&path[0]);
    EXPECT_TRUE(result >= path.data() && result <= path.data() + path.size());
    return result;
}

std::string extension_of(std::string path) {
    char* result = get_extension(&path[0]);
    EXPECT_TRUE(result >= path.data() && result <= path.data() + path.size());
    return result;
}

std::string directory_of(std::string path) {
    return get_directory(&path[0]);
}

class GetFilename : public ::testing::TestWithParam<SplitCase> {};
TEST_P(GetFilename, PointsAtTheFileName) {
    EXPECT_EQ(filename_of(GetParam().path), GetParam().expected) << GetParam().path;
}
INSTANTIATE_TEST_SUITE_P(
    Paths, GetFilename,
    ::testing::Values(SplitCase{"C:\\data\\net.dat", "net.dat"}, SplitCase{"C:net.dat", "net.dat"},
                      SplitCase{"net.dat", "net.dat"}, SplitCase{"C:\\data\\", ""},
                      SplitCase{"", ""}, SplitCase{"\\\\srv\\share\\f.dat", "f.dat"},
                      SplitCase{"\\\\?\\C:\\d\\f.dat", "f.dat"},
                      SplitCase{"C:/data/net.dat", "/data/net.dat"}, SplitCase{"a:b\\c:d", "c:d"}));

class GetExtension : public ::testing::TestWithParam<SplitCase> {};
TEST_P(GetExtension, PointsAtTheExtension) {
    EXPECT_EQ(extension_of(GetParam().path), GetParam().expected) << GetParam().path;
}
INSTANTIATE_TEST_SUITE_P(Paths, GetExtension,
                         ::testing::Values(SplitCase{"C:\\dir.old\\readme", ""},
                                           SplitCase{"a.tar.gz", ".gz"},
                                           SplitCase{"C:\\d\\.profile", ".profile"},
                                           SplitCase{"C:\\data\\net.dat", ".dat"},
                                           SplitCase{"net.", "."}, SplitCase{"C:x.y", ".y"},
                                           SplitCase{"", ""}, SplitCase{"C:\\d.x\\", ""}));

class GetDirectory : public ::testing::TestWithParam<SplitCase> {};
TEST_P(GetDirectory, GivesTheFolderWithoutItsBackslash) {
    EXPECT_EQ(directory_of(GetParam().path), GetParam().expected) << GetParam().path;
}
INSTANTIATE_TEST_SUITE_P(Paths, GetDirectory,
                         ::testing::Values(SplitCase{"C:\\data\\net.dat", "C:\\data"},
                                           SplitCase{"C:\\net.dat", "C:"},
                                           SplitCase{"C:net.dat", "C:"}, SplitCase{"net.dat", ""},
                                           SplitCase{"C:\\data\\", "C:\\data"},
                                           SplitCase{"C:\\data\\\\", "C:\\data\\"},
                                           SplitCase{"\\\\srv\\share\\f", "\\\\srv\\share"},
                                           SplitCase{"\\\\?\\C:\\d\\f", "\\\\?\\C:\\d"},
                                           SplitCase{"\\\\.\\COM1", "\\\\."}, SplitCase{"\\f", ""},
                                           SplitCase{"C:/data/net.dat", "C:"}, SplitCase{"", ""}));

TEST(GetDirectoryBuffer, IsSharedAndRewrittenByTheNextCall) {
    char* first = get_directory("C:\\one\\a.dat");
    char* second = get_directory("C:\\two\\b.dat");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "C:\\two");
}

TEST(GetDirectoryBuffer, LongPathsGiveTheFolderWhenItFits) {
    const std::string folder = "C:\\" + std::string(250, 'd');
    EXPECT_EQ(directory_of(folder + "\\" + std::string(300, 'n')), folder);
    const std::string long_folder = "C:\\" + std::string(256, 'd'); // 259 characters
    EXPECT_EQ(directory_of(long_folder + "\\n"), long_folder);
    EXPECT_EQ(directory_of(long_folder + "d\\n"), "");
    EXPECT_EQ(directory_of(std::string(300, 'n')), "");
}

TEST(PathNulls, NullPathsGiveNullOrEmpty) {
    EXPECT_EQ(get_filename(static_cast<char*>(nullptr)), nullptr);
    EXPECT_EQ(get_extension(static_cast<char*>(nullptr)), nullptr);
    EXPECT_STREQ(get_directory(static_cast<char*>(nullptr)), "");
    EXPECT_EQ(get_filename_c(nullptr), "");
    EXPECT_EQ(get_directory_c(nullptr), "");
}

struct GenericCase {
    const char* path;
    const char* directory;
    const char* file_name;
};

class GenericDecomposition : public ::testing::TestWithParam<GenericCase> {};

TEST_P(GenericDecomposition, ParentAndFileName) {
    EXPECT_EQ(get_directory_c(GetParam().path), GetParam().directory) << GetParam().path;
    EXPECT_EQ(get_filename_c(GetParam().path), GetParam().file_name) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Drives, GenericDecomposition,
                         ::testing::Values(GenericCase{"C:\\net.dat", "C:\\", "net.dat"},
                                           GenericCase{"C:/data/net.dat", "C:/data", "net.dat"},
                                           GenericCase{"C:\\data\\", "C:\\data", ""},
                                           GenericCase{"C:\\data\\\\", "C:\\data", ""},
                                           GenericCase{"C:\\data/\\sub", "C:\\data", "sub"},
                                           GenericCase{"C:net.dat", "C:", "net.dat"},
                                           GenericCase{"C:", "C:", ""},
                                           GenericCase{"C:\\", "C:\\", ""},
                                           GenericCase{"c:\\\\x", "c:\\\\", "x"},
                                           GenericCase{"1:\\x", "1:", "x"}));

INSTANTIATE_TEST_SUITE_P(
    Relative, GenericDecomposition,
    ::testing::Values(GenericCase{"net.dat", "", "net.dat"}, GenericCase{"", "", ""},
                      GenericCase{"a\\b\\c", "a\\b", "c"}, GenericCase{"a/b//", "a/b", ""},
                      GenericCase{"\\", "\\", ""}, GenericCase{"/", "/", ""},
                      GenericCase{"\\x", "\\", "x"}, GenericCase{"x", "", "x"},
                      GenericCase{"..\\x", "..", "x"},
                      GenericCase{"\xC9t\xE9\\\xB0.dat", "\xC9t\xE9", "\xB0.dat"}));

// Servers and the device prefixes \\?\, \\.\ and \??\ (either separator).
INSTANTIATE_TEST_SUITE_P(Prefixes, GenericDecomposition,
                         ::testing::Values(GenericCase{"\\\\srv\\share\\f", "\\\\srv\\share", "f"},
                                           GenericCase{"\\\\srv\\share", "\\\\srv\\", "share"},
                                           GenericCase{"\\\\srv", "\\\\srv", ""},
                                           GenericCase{"\\\\srv\\", "\\\\srv\\", ""},
                                           GenericCase{"//srv/share/f", "//srv/share", "f"},
                                           GenericCase{"\\\\?\\C:\\d\\f", "\\\\?\\C:\\d", "f"},
                                           GenericCase{"\\\\?\\C:", "\\\\?\\", "C:"},
                                           GenericCase{"\\\\.\\COM1", "\\\\.\\", "COM1"},
                                           GenericCase{"\\??\\C:\\f", "\\??\\C:", "f"},
                                           GenericCase{"/?\?/C:", "/?\?/", "C:"},
                                           GenericCase{"\\\\?\\", "\\\\?\\", ""},
                                           // A fifth separator makes no device: a server named "?".
                                           GenericCase{"\\\\?\\\\x", "\\\\?\\\\", "x"},
                                           GenericCase{"\\\\\\x", "\\\\\\", "x"},
                                           GenericCase{"\\\\", "\\\\", ""}));

TEST(GenericDecompositionText, EveryByteOfTheCodePageSurvives) {
    std::string name;
    for (int code = 0x20; code < 0x100; ++code)
        if (code != '\\' && code != '/' && code != ':') name += static_cast<char>(code);
    EXPECT_EQ(get_filename_c(("C:\\d\\" + name).c_str()), name);
    EXPECT_EQ(get_directory_c((name + "\\f").c_str()), name);
}

TEST(GenericDecompositionText, LongPathsNeedNoBuffer) {
    const std::string folder = "C:\\" + std::string(300, 'd');
    const std::string name(300, 'n');
    EXPECT_EQ(get_directory_c((folder + "\\" + name).c_str()), folder);
    EXPECT_EQ(get_filename_c((folder + "\\" + name).c_str()), name);
}

struct JoinCase {
    const char* directory;
    const char* name;
    const char* path;
};

class SetPath : public ::testing::TestWithParam<JoinCase> {};

TEST_P(SetPath, JoinsWithOneBackslash) {
    const char* joined = set_path(GetParam().directory, GetParam().name, false);
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Joins, SetPath,
    ::testing::Values(JoinCase{"C:\\data", "a.txt", "C:\\data\\a.txt"},
                      JoinCase{"C:\\data\\", "a.txt", "C:\\data\\a.txt"},
                      JoinCase{"C:", "a.txt", "C:\\a.txt"},
                      JoinCase{"\\\\srv\\share", "a.txt", "\\\\srv\\share\\a.txt"},
                      JoinCase{"C:/data", "a.txt", "C:/data\\a.txt"},
                      JoinCase{"C:\\data", "", "C:\\data\\"},
                      // No folder: the name in the current folder.
                      JoinCase{"", "a.txt", "a.txt"}, JoinCase{nullptr, "a.txt", "a.txt"}));

TEST(SetPathLimits, TheWholeMustFit259Characters) {
    const std::string folder = "C:\\" + std::string(250, 'd');   // 253 characters
    const char* fits = set_path(folder.c_str(), "a.txt", false); // 253 + 1 + 5 = 259
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(std::strlen(fits), 259u);
    EXPECT_EQ(set_path(folder.c_str(), "ab.txt", false), nullptr);
    EXPECT_EQ(set_path(std::string(300, 'd').c_str(), "a", false), nullptr);
    EXPECT_EQ(set_path("C:\\", std::string(300, 'n').c_str(), false), nullptr);
    EXPECT_EQ(set_path("C:\\", nullptr, false), nullptr);
}

TEST(SetPathLimits, MustExistAsksTheFileSystem) {
    jx::test::TempDir dir;
    dir.write("present.dat", "x");
    const char* found = set_path(dir.path().c_str(), "present.dat", true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::string(found), set_path(dir.path().c_str(), "present.dat", false));
    EXPECT_EQ(set_path(dir.path().c_str(), "absent.dat", true), nullptr);
    EXPECT_NE(set_path(dir.path().c_str(), "absent.dat", false), nullptr);
}

TEST(SetPathLimits, TheBufferIsSharedAndRewritten) {
    char* first = set_path("C:\\a", "x", false);
    char* second = set_path("C:\\b", "y", false);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, "C:\\b\\y");
}

} // namespace
