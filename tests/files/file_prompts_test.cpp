// Typed file names checked and repaired, and the questions asked around
// saving, each with the box the user sees and the answer handed back.
#include "files/file_prompts.h"
#include "platform/ui_hooks.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
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
// (as "owner title flags" and whether it has a name buffer and no root) and
// what its callback sends (as "message wparam text" lines), reports the
// selections to the callback as the shell would, then one notification the
// callback ignores, and closes with `chosen` (a path, "" for "this
// computer", which has no path) or, without one, as cancelled.
struct ScriptedFolderDialog {
    std::vector<std::string> selections;
    const char* chosen = nullptr;
    std::string sent;

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
        self->sent = std::to_string(reinterpret_cast<uintptr_t>(request->hwndOwner)) + ' ' +
                     (request->lpszTitle ? request->lpszTitle : "") + ' ' +
                     std::to_string(request->ulFlags) +
                     (request->pszDisplayName && !request->pidlRoot ? " whole namespace\n" : "\n");
        const auto notify = [&](UINT message, LPITEMIDLIST item) {
            EXPECT_EQ(
                request->lpfn(nullptr, message, reinterpret_cast<LPARAM>(item), request->lParam),
                0);
            ILFree(item);
        };
        notify(BFFM_INITIALIZED, nullptr);
        for (const std::string& path : self->selections) notify(BFFM_SELCHANGED, item(path));
        notify(3, nullptr);
        return self->chosen ? item(self->chosen) : nullptr;
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
    // The path, as repaired, with the replacement (0 drops), whether anything
    // was found, in a buffer of the size.
    const std::tuple<const char*, const char*, char, bool, unsigned> cases[] = {
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
    for (const auto& [given, repaired, replacement, found, size] : cases) {
        char path[64];
        std::snprintf(path, sizeof path, "%s", given);
        EXPECT_EQ(fix_illegal_char(path, size, replacement), found) << given;
        EXPECT_STREQ(path, repaired) << given;
    }
}

// Too long is 260 characters or more: refused with a message, path unchanged
// even when it holds an illegal character. (Trimming and repair through the
// validation are the jxut check-name cases.)
TEST(FileNames, ValidationRefusesLongPaths) {
    for (const std::string& text :
         {std::string(252, 'p'), std::string(253, 'p'), std::string(293, 'p') + "*"}) {
        ScopedMessageBoxes boxes;
        const std::string given = "C:\\" + text + ".dat";
        std::vector<char> path(given.begin(), given.end());
        path.resize(400, '\0');
        const int result = validate_file_name(reinterpret_cast<HWND>(0x42), path.data(), 400);
        EXPECT_EQ(std::string(path.data()), given);
        const std::string limits = "The full path name contains " + std::to_string(given.size()) +
                                   " characters. The maximum allowable is 259";
        EXPECT_EQ(std::to_string(result) + ' ' + summary(boxes),
                  given.size() < 260
                      ? "0 "
                      : "1 66|File error|" + given + "\r\n\r\nThis file name is too long\r\n" +
                            limits + "|16")
            << given.size();
    }
}

TEST(SavePrompts, QuestionsNameTheFileAndPassTheAnswerBack) {
    jx::test::TempDir dir;
    dir.write("net.dat", "x"); // named below with a backslash on every platform
    // Who asks (0 check_overwrite_file, 1 and 2 check_for_filesave with and
    // without a cancel button), about which file, the answer, the box shown.
    const std::tuple<int, std::string, int, const char*> cases[] = {
        {0, dir.path() + "\\missing.dat", IDYES, ""},
        {0, dir.path() + "\\net.dat", IDNO, "0|File exists|Replace existing file?\nnet.dat|35"},
        {1, "", IDCANCEL, "0|Editor|Unnamed file has changed.\r\nSave?|35"},
        {2, "C:100%.dat", IDYES, "0|Editor|100%.dat has changed.\r\nSave?|36"},
    };
    for (const auto& [asker, path, answer, shown] : cases) {
        ScopedMessageBoxes boxes;
        boxes.answer_next(answer);
        EXPECT_EQ(asker ? check_for_filesave("Editor", path.c_str(), asker == 1)
                        : check_overwrite_file(nullptr, path.c_str()),
                  answer)
            << path;
        EXPECT_EQ(summary(boxes), shown);
    }
}

// The request (owner, title, file-system folders with status line and files,
// the whole namespace), what the callback tells the dialog, and the outcome:
// cancelled empties the folder, an item without a path (the shell has none
// for "this computer") keeps the first one. Flags and messages are the
// shell's numbers, which the POSIX layer must share.
TEST(FolderChoice, RequestCallbackAndOutcomes) {
    jx::test::TempDir start, other;
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, ""}, {other.path().c_str(), other.path()}, {"", start.path()}};
    for (const auto& c : cases) {
        ScriptedFolderDialog dialog;
        dialog.selections = {other.path(), ""};
        dialog.chosen = c.first;
        char directory[MAX_PATH];
        std::snprintf(directory, sizeof directory, "%s", start.path().c_str());
        set_fdir(reinterpret_cast<HWND>(0x99), "Project folder", directory, sizeof directory);
        EXPECT_EQ(std::string(directory), c.second);
        // The start folder selected as a path string, then the status lines.
        EXPECT_EQ(dialog.sent, "153 Project folder 16389 whole namespace\n1126 1 " + start.path() +
                                   "\n1124 0 Directory : " + other.path() +
                                   "\n1124 0 Invalid directory\n");
    }
}

} // namespace
