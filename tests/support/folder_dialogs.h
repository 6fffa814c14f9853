// A scripted folder dialog that never shows: it records the library's request
// and its callback's messages, reports the scripted selections to the
// callback as the shell would, and closes with the scripted item (a path, ""
// for "this computer", which has no path) or, without one, as cancelled.
#pragma once

#include "platform/ui_hooks.h"

#include <string>
#include <vector>

namespace jx::test {

struct DialogMessage {
    UINT message;
    WPARAM wparam;
    std::string text;
};

struct ScopedFolderDialog {
    ScopedFolderDialog();
    ~ScopedFolderDialog();
    ScopedFolderDialog(const ScopedFolderDialog&) = delete;
    ScopedFolderDialog& operator=(const ScopedFolderDialog&) = delete;
    static LPITEMIDLIST make_item(const std::string& path);

    std::vector<std::string> selections; // script
    UINT other_notification = 0;
    bool choose = false;
    std::string chosen;

    int shown = 0; // record
    BROWSEINFOA request = {};
    std::string title;
    std::vector<DialogMessage> messages;
    std::vector<int> callback_answers;
};

} // namespace jx::test
