// The warnings of a calculation worksheet, collected as one growing text.
#pragma once

#include "platform/win32.h"

class JX_API worksheet_status {
public:
    DWORD buff_size; // capacity of buff in bytes
    char* buff;      // the log: lines ended by "\r\n", zero-terminated

    worksheet_status();
    ~worksheet_status();
    // Copies duplicate the buffer, so each log releases its own.
    worksheet_status(const worksheet_status& other);
    worksheet_status& operator=(const worksheet_status& other);

    void add(int catalog_id);
    void add_eirp(int catalog_id, double eirp_dbm, double min_path_km);
};
