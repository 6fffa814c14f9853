#include "support/folder_dialogs.h"

namespace jx::test {
namespace {

LPITEMIDLIST show(void* context, BROWSEINFOA* request) {
    auto* self = static_cast<ScopedFolderDialog*>(context);
    ++self->shown;
    self->request = *request;
    self->title = request->lpszTitle ? request->lpszTitle : "";
    const auto notify = [&](UINT message, LPITEMIDLIST item) {
        self->callback_answers.push_back(
            request->lpfn(nullptr, message, reinterpret_cast<LPARAM>(item), request->lParam));
        ILFree(item);
    };
    notify(BFFM_INITIALIZED, nullptr);
    for (const std::string& path : self->selections)
        notify(BFFM_SELCHANGED, ScopedFolderDialog::make_item(path));
    if (self->other_notification) notify(self->other_notification, nullptr);
    return self->choose ? ScopedFolderDialog::make_item(self->chosen) : nullptr;
}

LRESULT send(void* context, HWND, UINT message, WPARAM wparam, LPARAM lparam) {
    const char* text = reinterpret_cast<const char*>(lparam);
    static_cast<ScopedFolderDialog*>(context)->messages.push_back(
        {message, wparam, text ? text : ""});
    return 0;
}

} // namespace

ScopedFolderDialog::ScopedFolderDialog() {
    jx_set_folder_dialog_handler(show, send, this);
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

} // namespace jx::test
