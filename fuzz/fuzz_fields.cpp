// Field readers, trimmers and the tokenizer on arbitrary lines.
#include "textimport/field_functions.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const char delimiter = static_cast<char>(data[0]);
    const int size_byte = data[1];
    const std::string line(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string text = line.c_str(); // up to the first 0 byte, as a C string
    std::vector<char> destination(static_cast<size_t>(size_byte % 64) + 1);
    for (int n = -1; n < 6; ++n) {
        get_field_data(text.c_str(), n, destination.data(), static_cast<int>(destination.size()),
                       delimiter);
        GetFieldData(text.c_str(), n, destination.data(), static_cast<int>(destination.size()),
                     delimiter, '"');
        GetFieldData(text.c_str(), n, destination.data(), static_cast<int>(destination.size()),
                     delimiter, 0);
    }
    std::string copy = text;
    strip_space(copy.data());
    copy = text;
    strip_space_quotes(copy.data());
    std::u16string wide(text.begin(), text.end());
    strip_space_quotes_wide(reinterpret_cast<WCHAR*>(wide.data()));
    copy = text;
    for (char* token = get_delimited_fields(copy.data(), delimiter); token;
         token = get_delimited_fields(nullptr, delimiter)) {
    }
    return 0;
}
