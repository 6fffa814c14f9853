// Field readers, trimmers and the tokenizer on arbitrary lines.
#include "textimport/field_functions.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const char delimiter = static_cast<char>(data[0]);
    // Up to the first 0 byte, as a C string.
    const std::string text = std::string(reinterpret_cast<const char*>(data + 2), size - 2).c_str();
    std::vector<char> destination(static_cast<size_t>(data[1] % 64) + 1);
    const int room = static_cast<int>(destination.size());
    for (int n = -1; n < 6; ++n) {
        get_field_data(text.c_str(), n, destination.data(), room, delimiter);
        for (char quote : {'"', '\0'})
            GetFieldData(text.c_str(), n, destination.data(), room, delimiter, quote);
    }
    std::string stripped = text, quoted = text, split = text;
    strip_space(stripped.data());
    strip_space_quotes(quoted.data());
    std::u16string wide(text.begin(), text.end());
    strip_space_quotes_wide(reinterpret_cast<WCHAR*>(wide.data()));
    char* token = get_delimited_fields(split.data(), delimiter);
    while (token) token = get_delimited_fields(nullptr, delimiter);
    return 0;
}
