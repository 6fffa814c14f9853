// What the library does without a host's handlers and without a screen: a
// message box is printed and answered at once with the choice that leaves
// everything as it was, and the folder dialog is cancelled. And the decimal
// separator it keeps from its own load, read through the internal accessor
// of the statically linked library.
#include "files/file_prompts.h"
#include "frame/startup.h"
#include "platform/testing.h"
#include "platform/ui_hooks.h"

#include <gtest/gtest.h>

#include <utility>

TEST(WithoutAHost, BoxesAnswerWithTheChoiceThatChangesNothing) {
    const std::pair<UINT, int> cases[] = {{MB_OK | MB_ICONERROR, IDOK},
                                          {MB_OKCANCEL, IDCANCEL},
                                          {MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
                                          {MB_RETRYCANCEL, IDCANCEL},
                                          {MB_YESNO | MB_ICONQUESTION, IDNO},
                                          {MB_ABORTRETRYIGNORE, IDABORT}};
    for (const auto& [style, answer] : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(jx_message_box(nullptr, "line one\r\nline two", "Caption", style), answer);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Caption] line one\nline two\n");
    }
    char directory[MAX_PATH] = "/srv/projects";
    set_fdir(nullptr, "Choose a folder", directory, sizeof directory);
    EXPECT_STREQ(directory, "");

    // A separator of three characters does not fit: the one before stays.
    jx::testing::ScopedDecimalSeparator two("::"), too_long("abc");
    EXPECT_STREQ(jx::frame::decimal_separator(), "::");
}
