// The library's error record, which is also its exception: an operation that
// fails fills the caller's record and throws the pointer to it.
#pragma once

#include "platform/win32.h"

class JX_API Error_Handler {
public:
    int error_type;        // 0 nothing, 1 status information, 2 error, 3 warning
    int error_code;        // catalog id of the message (1 = the Windows error)
    int line_number;       // fills the %d of message 106
    DWORD last_error_code; // Windows system error code, 0 for none
    char file_name[1024];  // the file concerned, or other context; "" for none
    char* errormsg_buff;   // last composed message
    char* title_buff;      // title chosen by format_errormsg
    char* info_buff;       // extra line from set_info_buff
    char* msg_buff;        // message chosen by format_errormsg

    Error_Handler();
    ~Error_Handler();
    // Copies duplicate the owned texts, so each record releases its own.
    Error_Handler(const Error_Handler& other);
    Error_Handler& operator=(const Error_Handler& other);

    void set_error_code(int code);
    void set_error_type(int type);
    void set_last_error_code(DWORD code);
    int get_error_code();
    void set_info_buff(const char* text);
    void set_info_buff(int catalog_id);
    // A name of 1024 characters or more is cut to its first 1023.
    void init(int type, int code, const char* name);
    void init_fileio(const char* name);
    void format_errormsg();
    char* get_errormsg();
    int show_errormsg(HWND owner, bool question);

private:
    void clear_buffs();
};
