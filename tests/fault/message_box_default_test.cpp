// Without a handler and without a screen, a message box is printed and
// answered at once with the choice that leaves everything as it was, and the
// folder dialog is cancelled.
#include "files/file_prompts.h"
#include "platform/ui_hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(DefaultMessageBox, AnswersWithTheChoiceThatChangesNothing) {
    const struct {
        UINT style;
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
        {MB_RETRYCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_ABORTRETRYIGNORE, IDABORT},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(jx_message_box(nullptr, "line one\r\nline two", "Caption", c.style), c.answer);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Caption] line one\nline two\n");
    }
}

TEST(DefaultFolderDialog, AnswersCancelledAtOnce) {
    char directory[MAX_PATH] = "/srv/projects";
    set_fdir(nullptr, "Choose a folder", directory, sizeof directory);
    EXPECT_STREQ(directory, "");
}

} // namespace
