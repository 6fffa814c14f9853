// Records the message boxes the library shows and answers them from a script.
#pragma once

#include "platform/ui_hooks.h"

#include <deque>
#include <string>
#include <vector>

namespace jx::test {

struct ShownBox {
    HWND owner;
    std::string text, caption;
    UINT style;
};

class ScopedMessageBoxes {
public:
    // Boxes without a scripted answer are answered with `default_answer`.
    explicit ScopedMessageBoxes(int default_answer = IDOK) : default_answer_(default_answer) {
        jx_set_message_box_handler(
            [](void* context, HWND owner, const char* text, const char* caption, UINT style) {
                auto& self = *static_cast<ScopedMessageBoxes*>(context);
                self.shown_.push_back({owner, text ? text : "", caption ? caption : "", style});
                if (self.answers_.empty()) return self.default_answer_;
                const int answer = self.answers_.front();
                self.answers_.pop_front();
                return answer;
            },
            this);
    }
    ~ScopedMessageBoxes() { jx_set_message_box_handler(nullptr, nullptr); }
    ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
    ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

    void answer_next(int answer) { answers_.push_back(answer); }
    // Forgets the boxes shown so far and the answers not used.
    void clear() {
        shown_.clear();
        answers_.clear();
    }
    const std::vector<ShownBox>& shown() const { return shown_; }
    const ShownBox& last() const { return shown_.back(); }
    size_t count() const { return shown_.size(); }

private:
    int default_answer_;
    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
};

} // namespace jx::test
