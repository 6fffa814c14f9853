#include "support/message_boxes.h"

namespace jx::test {

ScopedMessageBoxes::ScopedMessageBoxes(int default_answer) : default_answer_(default_answer) {
    jx_set_message_box_handler(&ScopedMessageBoxes::handle, this);
}

ScopedMessageBoxes::~ScopedMessageBoxes() {
    jx_set_message_box_handler(nullptr, nullptr);
}

int ScopedMessageBoxes::handle(void* context, HWND owner, const char* text, const char* caption,
                               UINT style) {
    auto* self = static_cast<ScopedMessageBoxes*>(context);
    self->shown_.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (self->answers_.empty()) return self->default_answer_;
    const int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
}

} // namespace jx::test
