#include "../utf8_file_names.h"

#include "layer.h"

bool jx_utf8_file_name(const char* ansi, std::string& utf8) {
    utf8.clear();
    if (jx::posix::to_native_path(ansi, utf8) == 0) return true;
    utf8.clear();
    return false;
}
