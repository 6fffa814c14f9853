// A scripted folder dialog: records the request the library makes and the
// messages its callback sends, reports selection changes to the callback as
// the shell would, and closes with a scripted answer. Never shows a dialog.
#pragma once

#include "platform/ui_hooks.h"

#include <string>
#include <vector>

namespace jx::test {

struct DialogMessage {
    HWND dialog;
    UINT message;
    WPARAM wparam;
    std::string text; // the string the message carries
};

class ScopedFolderDialog {
public:
    ScopedFolderDialog();
    ~ScopedFolderDialog();
    ScopedFolderDialog(const ScopedFolderDialog&) = delete;
    ScopedFolderDialog& operator=(const ScopedFolderDialog&) = delete;

    // An item for a path that exists, or "this computer" (no file-system
    // path) for an empty text.
    static LPITEMIDLIST make_item(const std::string& path);

    // Before closing, the dialog reports each of these selections (an
    // existing path, or "" for this computer) and then the notification
    // `other` if it is not 0.
    void select(const std::string& path) { selections_.push_back(path); }
    void notify_other(UINT message) { other_ = message; }
    // Closes with the item of `path` ("" for this computer); without this
    // the dialog is cancelled.
    void choose(const std::string& path) {
        chosen_ = path;
        cancel_ = false;
    }

    // What the library asked for.
    int shown() const { return shown_; }
    HWND owner() const { return owner_; }
    const std::string& title() const { return title_; }
    UINT flags() const { return flags_; }
    bool had_display_buffer() const { return display_buffer_; }
    bool had_root() const { return root_; }
    // What the callback sent and answered.
    const std::vector<DialogMessage>& messages() const { return messages_; }
    const std::vector<int>& callback_answers() const { return answers_; }

    static HWND dialog_handle() { return reinterpret_cast<HWND>(static_cast<intptr_t>(0x5D0)); }

private:
    static LPITEMIDLIST show(void* context, BROWSEINFOA* request);
    static LRESULT send(void* context, HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

    std::vector<std::string> selections_;
    UINT other_ = 0;
    bool cancel_ = true;
    std::string chosen_;
    int shown_ = 0;
    HWND owner_ = nullptr;
    std::string title_;
    UINT flags_ = 0;
    bool display_buffer_ = false;
    bool root_ = false;
    std::vector<DialogMessage> messages_;
    std::vector<int> answers_;
};

} // namespace jx::test
