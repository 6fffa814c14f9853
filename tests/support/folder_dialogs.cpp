#include "support/folder_dialogs.h"

namespace jx::test {

ScopedFolderDialog::ScopedFolderDialog() {
    jx_set_folder_dialog_handler(&ScopedFolderDialog::show, &ScopedFolderDialog::send, this);
}

ScopedFolderDialog::~ScopedFolderDialog() {
    jx_set_folder_dialog_handler(nullptr, nullptr, nullptr);
}

LPITEMIDLIST ScopedFolderDialog::make_item(const std::string& path) {
    if (!path.empty()) return ILCreateFromPathA(path.c_str());
    LPITEMIDLIST item = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &item);
    return item;
}

LPITEMIDLIST ScopedFolderDialog::show(void* context, BROWSEINFOA* request) {
    auto* self = static_cast<ScopedFolderDialog*>(context);
    ++self->shown_;
    self->owner_ = request->hwndOwner;
    self->title_ = request->lpszTitle ? request->lpszTitle : "";
    self->flags_ = request->ulFlags;
    self->display_buffer_ = request->pszDisplayName != nullptr;
    self->root_ = request->pidlRoot != nullptr;
    if (request->lpfn) {
        const auto notify = [&](UINT message, LPARAM lparam) {
            self->answers_.push_back(
                request->lpfn(dialog_handle(), message, lparam, request->lParam));
        };
        notify(BFFM_INITIALIZED, 0);
        for (const std::string& path : self->selections_) {
            LPITEMIDLIST item = make_item(path);
            notify(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item));
            ILFree(item);
        }
        if (self->other_) notify(self->other_, 0);
    }
    return self->cancel_ ? nullptr : make_item(self->chosen_);
}

LRESULT ScopedFolderDialog::send(void* context, HWND dialog, UINT message, WPARAM wparam,
                                 LPARAM lparam) {
    auto* self = static_cast<ScopedFolderDialog*>(context);
    const char* text = reinterpret_cast<const char*>(lparam);
    self->messages_.push_back({dialog, message, wparam, text ? text : ""});
    return 0;
}

} // namespace jx::test
