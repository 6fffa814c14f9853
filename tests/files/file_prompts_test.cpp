// Typed file names checked and repaired, and the questions asked around
// saving, each with the box the user sees and the answer handed back.
#include "files/file_prompts.h"
#include "support/drive_mapping.h"
#include "support/folder_dialogs.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;

TEST(FileNames, IllegalCharactersAreReplacedOrDropped) {
    const struct {
        const char *path, *repaired;
        char replacement;
        bool found;
        unsigned size;
    } cases[] = {
        {"C:\\data\\a*b?.dat", "C:\\data\\a_b_.dat", '_', true, 260},
        {"C:\\data\\a*b?.dat", "C:\\data\\ab.dat", 0, true, 260},
        {"C:\\da|ta\\x.dat", "C:\\da_ta\\x.dat", '_', true, 260},
        {" \"C:\\data\\x.dat\" \r\n", "C:\\data\\x.dat", '_', false, 260},
        {"C:a<b.dat", "C:\\a_b.dat", '_', true, 260},            // the drive gains a backslash
        {"C:\\a:b\\c.dat", "C:\\a_b\\c.dat", '_', true, 260},    // only the drive's colon passes
        {"C:\\x\"y\\c.dat", "C:\\x\"y\\c.dat", '_', false, 260}, // quotes in folders pass
        {"C:\\d\\x\"y/z|.dat", "C:\\d\\x_y_z_.dat", '_', true, 260},
        {"a?b.dat", "a_b.dat", '_', true, 260}, // no folder: the name is written back
        {"\\a*b.dat", "\\a_b.dat", '_', true, 260},
        {"***", "", 0, true, 260},
        {"C:\\data\\", "C:\\data\\", '_', false, 260},
        {"C:a<b.dat", "C:\\a_b.da", '_', true, 10}, // cut to the buffer
    };
    for (const auto& c : cases) {
        char path[64];
        std::snprintf(path, sizeof path, "%s", c.path);
        EXPECT_EQ(fix_illegal_char(path, c.size, c.replacement), c.found) << c.path;
        EXPECT_STREQ(path, c.repaired) << c.path;
    }
}

// Too long is 260 characters or more: refused with a message, path unchanged.
TEST(FileNames, ValidationRefusesLongPathsAndRepairsIllegalOnes) {
    const auto path_of = [](size_t length) {
        return "C:\\" + std::string(length - 7, 'p') + ".dat";
    };
    const struct {
        std::string path, after;
        int result;
    } cases[] = {
        {"  C:\\data\\ok.dat ", "C:\\data\\ok.dat", 0},
        {"C:\\data\\x:y.dat", "C:\\data\\x_y.dat", 3},
        {path_of(259), path_of(259), 0},
        {path_of(260), path_of(260), 1},
        {path_of(300) + "*", path_of(300) + "*", 1},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        std::vector<char> path(c.path.begin(), c.path.end());
        path.resize(400, '\0');
        EXPECT_EQ(validate_file_name(reinterpret_cast<HWND>(0x42), path.data(), 400), c.result);
        EXPECT_EQ(std::string(path.data()), c.after);
        ASSERT_EQ(boxes.count(), c.result == 1 ? 1u : 0u) << c.path.size();
        if (c.result != 1) continue;
        const std::string limits = "The full path name contains " + std::to_string(c.path.size()) +
                                   " characters. The maximum allowable is 259";
        EXPECT_EQ(boxes.last().text, c.path + "\r\n\r\nThis file name is too long\r\n" + limits);
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_EQ(boxes.last().style, 0x10u);
        EXPECT_EQ(boxes.last().owner, reinterpret_cast<HWND>(0x42));
    }
}

TEST(SavePrompts, QuestionsNameTheFileAndPassTheAnswerBack) {
    jx::test::ScopedDriveMapping drive(jx::test::ScopedDriveMapping::fixed);
    if (!drive.ok()) GTEST_SKIP() << "no drive M:";
    std::ofstream(drive.native_file("net.dat")) << "x";
    const std::string existing = drive.file("net.dat");
    // Who asks: 0 check_overwrite_file, 1 and 2 check_for_filesave with and
    // without a cancel button. The box as caption|text|style, if any.
    const struct {
        int asker;
        std::string path;
        int answer;
        const char* shown;
    } cases[] = {
        {0, drive.file("missing.dat"), IDYES, ""},
        {0, existing, IDNO, "File exists|Replace existing file?\nnet.dat|35"},
        {1, "", IDCANCEL, "Editor|Unnamed file has changed.\r\nSave?|35"},
        {2, "C:100%.dat", IDYES, "Editor|100%.dat has changed.\r\nSave?|36"},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        boxes.answer_next(c.answer);
        EXPECT_EQ(c.asker ? check_for_filesave("Editor", c.path.c_str(), c.asker == 1)
                          : check_overwrite_file(nullptr, c.path.c_str()),
                  c.answer)
            << c.path;
        std::string shown;
        for (const auto& box : boxes.shown())
            shown += box.caption + '|' + box.text + '|' + std::to_string(box.style);
        EXPECT_EQ(shown, c.shown);
    }
}

// The request (owner, title, file-system folders with status line and files,
// the whole namespace), what the callback tells the dialog, and the outcome:
// cancelled empties the folder, an item without a path (the shell has none
// for "this computer") keeps the first one. Flags and messages are the
// shell's numbers, which the POSIX layer must share.
TEST(FolderChoice, RequestCallbackAndOutcomes) {
    jx::test::TempDir start, other;
    const struct {
        bool choose;
        std::string chosen, result;
    } cases[] = {{false, "", ""}, {true, other.path(), other.path()}, {true, "", start.path()}};
    for (const auto& c : cases) {
        jx::test::ScopedFolderDialog dialog;
        dialog.selections = {other.path(), ""};
        dialog.other_notification = 3;
        dialog.choose = c.choose;
        dialog.chosen = c.chosen;
        char directory[MAX_PATH];
        std::snprintf(directory, sizeof directory, "%s", start.path().c_str());
        set_fdir(reinterpret_cast<HWND>(0x99), "Project folder", directory, sizeof directory);
        EXPECT_EQ(std::string(directory), c.result);
        ASSERT_EQ(dialog.shown, 1);
        EXPECT_EQ(dialog.request.hwndOwner, reinterpret_cast<HWND>(0x99));
        EXPECT_EQ(dialog.title, "Project folder");
        EXPECT_EQ(dialog.request.ulFlags, 0x4005u);
        EXPECT_TRUE(dialog.request.pszDisplayName && !dialog.request.pidlRoot);
        ASSERT_EQ(dialog.messages.size(), 3u);
        EXPECT_EQ(dialog.messages[0].message, 0x466u);
        EXPECT_EQ(dialog.messages[0].wparam, static_cast<WPARAM>(TRUE)) << "a path string";
        EXPECT_EQ(dialog.messages[0].text, start.path());
        EXPECT_EQ(dialog.messages[1].message, 0x464u);
        EXPECT_EQ(dialog.messages[1].text, "Directory : " + other.path());
        EXPECT_EQ(dialog.messages[2].text, "Invalid directory");
        EXPECT_EQ(dialog.callback_answers, std::vector<int>(4, 0));
    }
}

} // namespace
