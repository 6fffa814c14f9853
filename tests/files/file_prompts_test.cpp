// Typed file names checked and repaired, and the questions asked around
// saving, each with the box the user sees and the answer handed back.
#include "files/file_prompts.h"
#include "support/drive_mapping.h"
#include "support/folder_dialogs.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedFolderDialog;
using jx::test::ScopedMessageBoxes;
using jx::test::TempDir;

HWND window(intptr_t value) {
    return reinterpret_cast<HWND>(value);
}

TEST(FileNames, IllegalCharactersAreReplacedOrDropped) {
    const struct {
        const char* path;
        char replacement;
        unsigned size;
        const char* repaired;
        bool found;
    } cases[] = {
        {"C:\\data\\a*b?.dat", '_', 260, "C:\\data\\a_b_.dat", true},
        {"C:\\data\\a*b?.dat", 0, 260, "C:\\data\\ab.dat", true},
        {"C:\\da|ta\\x.dat", '_', 260, "C:\\da_ta\\x.dat", true},
        {" \"C:\\data\\x.dat\" \r\n", '_', 260, "C:\\data\\x.dat", false},
        {"C:a<b.dat", '_', 260, "C:\\a_b.dat", true},            // the drive gains a backslash
        {"C:\\a:b\\c.dat", '_', 260, "C:\\a_b\\c.dat", true},    // only the drive's colon
        {"C:\\x\"y\\c.dat", '_', 260, "C:\\x\"y\\c.dat", false}, // quotes in folders pass
        {"C:\\d\\x\"y/z|.dat", '_', 260, "C:\\d\\x_y_z_.dat", true},
        {"\\\\srv\\sh?re\\f.dat", '_', 260, "\\\\srv\\sh_re\\f.dat", true},
        // Without a folder part the repaired name is written back, after a
        // leading backslash if there is one.
        {"a?b.dat", '_', 260, "a_b.dat", true},
        {"\\a*b.dat", '_', 260, "\\a_b.dat", true},
        {"***", 0, 260, "", true},
        {"***", '_', 260, "___", true},
        {"C:\\data\\", '_', 260, "C:\\data\\", false},
        {"", '_', 260, "", false},
        // The rebuilt path is cut to the buffer.
        {"C:a<b.dat", '_', 10, "C:\\a_b.da", true},
    };
    for (const auto& c : cases) {
        char path[400];
        std::snprintf(path, sizeof path, "%s", c.path);
        EXPECT_EQ(fix_illegal_char(path, c.size, c.replacement), c.found) << c.path;
        EXPECT_STREQ(path, c.repaired) << c.path;
    }
}

TEST(FileNames, ValidationRefusesLongPathsAndRepairsIllegalOnes) {
    const std::string folder = "C:\\data\\";
    const auto path_of = [&](size_t length) {
        return folder + std::string(length - folder.size() - 4, 'p') + ".dat";
    };
    const struct {
        std::string path;
        int result;
        std::string after;
        const char* box; // the line that gives the length, or null for no box
    } cases[] = {
        {"C:\\data\\ok.dat", 0, "C:\\data\\ok.dat", nullptr},
        {"  C:\\data\\ok.dat  ", 0, "C:\\data\\ok.dat", nullptr},
        {"C:\\data\\x:y.dat", 3, "C:\\data\\x_y.dat", nullptr},
        {"?", 3, "_", nullptr},
        {path_of(259), 0, path_of(259), nullptr},
        {path_of(260), 1, path_of(260),
         "The full path name contains 260 characters. The maximum allowable is 259"},
        {path_of(300) + "*", 1, path_of(300) + "*",
         "The full path name contains 301 characters. The maximum allowable is 259"},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        std::vector<char> path(c.path.begin(), c.path.end());
        path.resize(400, '\0');
        EXPECT_EQ(validate_file_name(window(0x42), path.data(), 400), c.result) << c.path;
        EXPECT_EQ(std::string(path.data()), c.after);
        if (!c.box) {
            EXPECT_EQ(boxes.count(), 0u) << c.path;
            continue;
        }
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, window(0x42));
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(boxes.last().text,
                  c.path + "\r\n\r\nThis file name is too long\r\n" + std::string(c.box));
    }
}

TEST(SavePrompts, OverwriteAsksOnlyForExistingFilesAndPassesTheAnswerBack) {
    jx::test::ScopedDriveMapping drive(jx::test::ScopedDriveMapping::fixed);
    if (!drive.ok()) GTEST_SKIP() << "no drive M:";
    std::ofstream(drive.native_file("net.dat")) << "x";
    const std::string existing = drive.file("net.dat");
    {
        ScopedMessageBoxes boxes;
        EXPECT_EQ(check_overwrite_file(window(1), drive.file("missing.dat").c_str()), IDYES);
        EXPECT_EQ(boxes.count(), 0u);
    }
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        ScopedMessageBoxes boxes;
        boxes.answer_next(answer);
        EXPECT_EQ(check_overwrite_file(window(7), existing.c_str()), answer);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, window(7));
        EXPECT_EQ(boxes.last().caption, "File exists");
        EXPECT_EQ(boxes.last().text, "Replace existing file?\nnet.dat");
        EXPECT_EQ(boxes.last().style, 0x23u);
    }
}

TEST(SavePrompts, SaveQuestionNamesTheFileAndOffersCancelWhenAsked) {
    const struct {
        const char* path;
        bool cancel;
        int answer;
        const char* text;
        UINT style;
    } cases[] = {
        {"", true, IDCANCEL, "Unnamed file has changed.\r\nSave?", 0x23},
        {"C:\\data\\net.dat", false, IDYES, "net.dat has changed.\r\nSave?", 0x24},
        {"C:net.dat", true, IDNO, "net.dat has changed.\r\nSave?", 0x23},
        {"100%.dat", false, IDNO, "100%.dat has changed.\r\nSave?", 0x24},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        boxes.answer_next(c.answer);
        EXPECT_EQ(check_for_filesave("Site editor", c.path, c.cancel), c.answer) << c.path;
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, nullptr);
        EXPECT_EQ(boxes.last().caption, "Site editor");
        EXPECT_EQ(boxes.last().text, c.text);
        EXPECT_EQ(boxes.last().style, c.style);
    }
}

// The dialog is asked for file-system folders with a status line and files
// shown, under the caller's owner and title, from the whole namespace.
TEST(FolderChoice, RequestAndOutcomes) {
    TempDir start, other;
    const struct {
        const char* what;
        bool choose;
        std::string chosen; // "" for an item without a file-system path
        std::string result;
    } cases[] = {
        {"cancelled", false, "", ""},
        {"a folder", true, other.path(), other.path()},
        {"no file-system path", true, "", start.path()},
    };
    for (const auto& c : cases) {
        ScopedFolderDialog dialog;
        if (c.choose) dialog.choose(c.chosen);
        char directory[MAX_PATH];
        std::snprintf(directory, sizeof directory, "%s", start.path().c_str());
        set_fdir(window(0x99), "Choose the project folder", directory, sizeof directory);
        EXPECT_EQ(std::string(directory), c.result) << c.what;
        ASSERT_EQ(dialog.shown(), 1) << c.what;
        EXPECT_EQ(dialog.owner(), window(0x99));
        EXPECT_EQ(dialog.title(), "Choose the project folder");
        EXPECT_EQ(dialog.flags(), 0x4005u);
        EXPECT_TRUE(dialog.had_display_buffer());
        EXPECT_FALSE(dialog.had_root());
    }
}

// The library's callback selects the initial folder when the dialog opens and
// keeps the status line on the selection; it answers 0 to everything.
TEST(FolderChoice, CallbackSelectsTheStartAndReportsEachSelection) {
    TempDir start, picked;
    ScopedFolderDialog dialog;
    dialog.select(picked.path());
    dialog.select("");
    dialog.notify_other(3); // a notification the callback does not handle
    char directory[MAX_PATH];
    std::snprintf(directory, sizeof directory, "%s", start.path().c_str());
    set_fdir(nullptr, "Title", directory, sizeof directory);

    const std::vector<jx::test::DialogMessage>& sent = dialog.messages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].message, static_cast<UINT>(BFFM_SETSELECTIONA));
    EXPECT_EQ(sent[0].wparam, static_cast<WPARAM>(TRUE)) << "the selection is a path";
    EXPECT_EQ(sent[0].text, start.path());
    EXPECT_EQ(sent[1].message, static_cast<UINT>(BFFM_SETSTATUSTEXTA));
    EXPECT_EQ(sent[1].text, "Directory : " + picked.path());
    EXPECT_EQ(sent[2].message, static_cast<UINT>(BFFM_SETSTATUSTEXTA));
    EXPECT_EQ(sent[2].text, "Invalid directory");
    for (const auto& m : sent) EXPECT_EQ(m.dialog, ScopedFolderDialog::dialog_handle());
    EXPECT_EQ(dialog.callback_answers(), std::vector<int>(4, 0));
    EXPECT_EQ(std::string(directory), "") << "the dialog was cancelled";
}

} // namespace
