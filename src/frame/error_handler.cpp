// The error record: numbers and names while an operation runs, turned into
// catalog and system texts only when the catcher asks for the message.
#include "error_handler.h"

#include "catalog.h"
#include "catalog_ids.h"
#include "message_text.h"
#include "platform/ui_hooks.h"

#include <cstring>
#include <string>
#include <utility>

using jx::frame::load_catalog_text;
using jx::frame::detail::copy_text;
using jx::frame::detail::release_text;

namespace {

constexpr int kTypeNone = 0;
constexpr int kTypeStatus = 1;
constexpr int kTypeError = 2;
constexpr int kTypeWarning = 3;

using namespace jx::catalog;

// Titles and messages are loaded into 1024 bytes, the question line into 80.
constexpr int kTextBuffer = 1024;
constexpr int kQuestionBuffer = 80;

// A record's texts are absent or present; an empty text counts as absent
// when composing, so an id without a catalog entry never adds a blank line.
bool has_text(const char* text) {
    return text && *text;
}

} // namespace

Error_Handler::Error_Handler()
    : error_type(0), error_code(0), line_number(0), last_error_code(0), file_name{},
      errormsg_buff(nullptr), title_buff(nullptr), info_buff(nullptr), msg_buff(nullptr) {}

Error_Handler::~Error_Handler() {
    clear_buffs();
}

Error_Handler::Error_Handler(const Error_Handler& other)
    : error_type(other.error_type), error_code(other.error_code), line_number(other.line_number),
      last_error_code(other.last_error_code), file_name{},
      errormsg_buff(copy_text(other.errormsg_buff)), title_buff(copy_text(other.title_buff)),
      info_buff(copy_text(other.info_buff)), msg_buff(copy_text(other.msg_buff)) {
    std::memcpy(file_name, other.file_name, sizeof file_name);
}

Error_Handler& Error_Handler::operator=(const Error_Handler& other) {
    if (this == &other) return *this;
    // Copy first, so a failed allocation leaves this record as it was.
    Error_Handler copy(other);
    std::swap(error_type, copy.error_type);
    std::swap(error_code, copy.error_code);
    std::swap(line_number, copy.line_number);
    std::swap(last_error_code, copy.last_error_code);
    std::memcpy(file_name, copy.file_name, sizeof file_name);
    std::swap(errormsg_buff, copy.errormsg_buff);
    std::swap(title_buff, copy.title_buff);
    std::swap(info_buff, copy.info_buff);
    std::swap(msg_buff, copy.msg_buff);
    return *this;
}

void Error_Handler::set_error_code(int code) {
    error_code = code;
}
void Error_Handler::set_error_type(int type) {
    error_type = type;
}
void Error_Handler::set_last_error_code(DWORD code) {
    last_error_code = code;
}
int Error_Handler::get_error_code() {
    return error_code;
}

void Error_Handler::set_info_buff(const char* text) {
    // The copy is made before the old text goes, in case `text` is that text.
    char* copy = copy_text(text);
    release_text(info_buff);
    info_buff = copy;
}

void Error_Handler::set_info_buff(int catalog_id) {
    char text[128];
    load_catalog_text(catalog_id, text, sizeof text);
    set_info_buff(text);
}

// A name of 1024 characters or more does not fit file_name and is cut to its
// first 1023. The name is copied before the texts are released, because a
// caller may pass one of this record's own texts (or file_name itself).
void Error_Handler::init(int type, int code, const char* name) {
    char copy[sizeof file_name];
    if (name) jx::frame::detail::copy_bounded(name, copy, sizeof copy);
    clear_buffs();
    if (name) std::memcpy(file_name, copy, sizeof copy);
    error_type = type;
    error_code = code;
}

void Error_Handler::init_fileio(const char* name) {
    init(kTypeError, kFileError, name);
}

void Error_Handler::clear_buffs() {
    release_text(info_buff);
    release_text(title_buff);
    release_text(msg_buff);
    release_text(errormsg_buff);
    file_name[0] = '\0';
    last_error_code = 0;
}

void Error_Handler::format_errormsg() {
    release_text(title_buff);
    release_text(msg_buff);
    if (error_code == kCanceled) error_type = kTypeStatus;

    int title_id;
    switch (error_type) {
    case kTypeStatus:
        title_id = kStatusTitle;
        break;
    case kTypeError:
        title_id = file_name[0] ? kFileError : kErrorTitle;
        break;
    case kTypeWarning:
        title_id = kWarningTitle;
        break;
    default:
        return; // never shown: no title and no message
    }
    char text[kTextBuffer];
    load_catalog_text(title_id, text, sizeof text);
    title_buff = copy_text(text);

    if (error_code == kWindowsError) error_code = kFileError;
    if (last_error_code != 0) {
        // Windows' text replaces the catalog's, unchanged: it ends in its own
        // line break, which therefore shows as an empty line after it.
        msg_buff = jx::frame::detail::copy_system_text(last_error_code);
        return;
    }
    if (error_code == kSyntaxError) {
        char pattern[kTextBuffer];
        load_catalog_text(kSyntaxError, pattern, sizeof pattern);
        jx::frame::detail::fill_line_number(pattern, line_number, text, sizeof text);
    } else {
        load_catalog_text(error_code, text, sizeof text);
    }
    msg_buff = copy_text(text);
}

// Types other than 1, 2 and 3 have neither title nor message, so there is
// nothing to compose: the answer is null, as for a record with nothing
// recorded (a code of 109 still turns any type into status information).
char* Error_Handler::get_errormsg() {
    if (error_type == kTypeNone) return nullptr;
    format_errormsg();
    release_text(errormsg_buff);
    if (!title_buff) return nullptr;

    std::string text = title_buff;
    if (file_name[0]) text.append(" - ").append(file_name);
    text += '\n';
    if (has_text(msg_buff)) text.append(msg_buff).append("\n");
    if (has_text(info_buff)) text.append(info_buff).append("\n");
    errormsg_buff = copy_text(text.c_str());
    return errormsg_buff;
}

int Error_Handler::show_errormsg(HWND owner, bool question) {
    if (error_type == kTypeNone) return 0;
    format_errormsg();
    release_text(errormsg_buff);

    UINT style;
    switch (error_type) {
    case kTypeStatus:
        style = MB_ICONINFORMATION;
        break;
    case kTypeError:
        style = MB_ICONERROR;
        break;
    case kTypeWarning:
        style = MB_ICONWARNING;
        break;
    default:
        return 0;
    }
    if (question) style = MB_YESNO | MB_ICONQUESTION;

    // The title is the box's caption, so the text starts with the file name.
    std::string text;
    if (file_name[0]) text.append(file_name).append("\r\n");
    if (msg_buff) text += msg_buff;
    if (has_text(info_buff)) text.append("\r\n").append(info_buff);
    if (question) {
        char line[kQuestionBuffer];
        load_catalog_text(kContinue, line, sizeof line);
        text.append("\r\n").append(line);
    }
    errormsg_buff = copy_text(text.c_str());
    return jx_message_box(owner, errormsg_buff, title_buff ? title_buff : "", style);
}
