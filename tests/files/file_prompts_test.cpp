// Typed file names checked and repaired, and the questions asked around
// saving, each with the box the user sees and the answer handed back.
#include "files/file_prompts.h"
#include "platform/ui_hooks.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;

// The boxes shown, each as owner|caption|text|style.
std::string summary(const ScopedMessageBoxes& boxes) {
    std::string out;
    for (const auto& box : boxes.shown())
        out += std::to_string(reinterpret_cast<uintptr_t>(box.owner)) + '|' + box.caption + '|' +
               box.text + '|' + std::to_string(box.style);
    return out;
}

// A scripted folder dialog that never shows: it records the library's request
// and what its callback sends (as "message wparam text" lines), reports the
// selections to the callback as the shell would, then one notification the
// callback ignores, and closes with `chosen` (a path, "" for "this
// computer", which has no path) or, when `choose` is false, as cancelled.
struct ScriptedFolderDialog {
    std::vector<std::string> selections;
    bool choose = false;
    std::string chosen;
    BROWSEINFOA request = {};
    std::string title, sent;

    ScriptedFolderDialog() { jx_set_folder_dialog_handler(show, send, this); }
    ~ScriptedFolderDialog() { jx_set_folder_dialog_handler(nullptr, nullptr, nullptr); }

    static LPITEMIDLIST item(const std::string& path) {
        if (!path.empty()) return ILCreateFromPathA(path.c_str());
        LPITEMIDLIST item = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &item);
        return item;
    }
    static LPITEMIDLIST show(void* context, BROWSEINFOA* request) {
        auto* self = static_cast<ScriptedFolderDialog*>(context);
        self->request = *request;
        self->title = request->lpszTitle ? request->lpszTitle : "";
        const auto notify = [&](UINT message, LPITEMIDLIST item) {
            EXPECT_EQ(
                request->lpfn(nullptr, message, reinterpret_cast<LPARAM>(item), request->lParam),
                0);
            ILFree(item);
        };
        notify(BFFM_INITIALIZED, nullptr);
        for (const std::string& path : self->selections) notify(BFFM_SELCHANGED, item(path));
        notify(3, nullptr);
        return self->choose ? item(self->chosen) : nullptr;
    }
    static LRESULT send(void* context, HWND, UINT message, WPARAM wparam, LPARAM lparam) {
        const char* text = reinterpret_cast<const char*>(lparam);
        static_cast<ScriptedFolderDialog*>(context)->sent += std::to_string(message) + ' ' +
                                                             std::to_string(wparam) + ' ' +
                                                             (text ? text : "") + '\n';
        return 0;
    }
};

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
        const std::string limits = "The full path name contains " + std::to_string(c.path.size()) +
                                   " characters. The maximum allowable is 259";
        EXPECT_EQ(summary(boxes), c.result != 1 ? ""
                                                : "66|File error|" + c.path +
                                                      "\r\n\r\nThis file name is too long\r\n" +
                                                      limits + "|16")
            << c.path.size();
    }
}

TEST(SavePrompts, QuestionsNameTheFileAndPassTheAnswerBack) {
    jx::test::TempDir dir;
    dir.write("net.dat", "x");
    const std::string existing = dir.path() + "\\net.dat"; // a backslash on every platform
    // Who asks: 0 check_overwrite_file, 1 and 2 check_for_filesave with and
    // without a cancel button.
    const struct {
        int asker;
        std::string path;
        int answer;
        const char* shown;
    } cases[] = {
        {0, dir.path() + "\\missing.dat", IDYES, ""},
        {0, existing, IDNO, "0|File exists|Replace existing file?\nnet.dat|35"},
        {1, "", IDCANCEL, "0|Editor|Unnamed file has changed.\r\nSave?|35"},
        {2, "C:100%.dat", IDYES, "0|Editor|100%.dat has changed.\r\nSave?|36"},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        boxes.answer_next(c.answer);
        EXPECT_EQ(c.asker ? check_for_filesave("Editor", c.path.c_str(), c.asker == 1)
                          : check_overwrite_file(nullptr, c.path.c_str()),
                  c.answer)
            << c.path;
        EXPECT_EQ(summary(boxes), c.shown);
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
        ScriptedFolderDialog dialog;
        dialog.selections = {other.path(), ""};
        dialog.choose = c.choose;
        dialog.chosen = c.chosen;
        char directory[MAX_PATH];
        std::snprintf(directory, sizeof directory, "%s", start.path().c_str());
        set_fdir(reinterpret_cast<HWND>(0x99), "Project folder", directory, sizeof directory);
        EXPECT_EQ(std::string(directory), c.result);
        EXPECT_EQ(dialog.request.hwndOwner, reinterpret_cast<HWND>(0x99));
        EXPECT_EQ(dialog.title, "Project folder");
        EXPECT_EQ(dialog.request.ulFlags, 0x4005u);
        EXPECT_TRUE(dialog.request.pszDisplayName && !dialog.request.pidlRoot);
        // The start folder selected as a path string, then the status lines.
        EXPECT_EQ(dialog.sent, "1126 1 " + start.path() + "\n1124 0 Directory : " + other.path() +
                                   "\n1124 0 Invalid directory\n");
    }
}

} // namespace
