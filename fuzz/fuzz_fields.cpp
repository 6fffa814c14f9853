// Field readers, trimmers and the tokenizer on arbitrary lines.
#include "textimport/field_functions.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const char delimiter = static_cast<char>(data[0]);
    const std::string line(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string text = line.c_str(); // up to the first 0 byte, as a C string
    std::vector<char> destination(static_cast<size_t>(data[1] % 64) + 1);
    const int room = static_cast<int>(destination.size());
    for (int n = -1; n < 6; ++n) {
        get_field_data(text.c_str(), n, destination.data(), room, delimiter);
        for (char quote : {'"', '\0'})
            GetFieldData(text.c_str(), n, destination.data(), room, delimiter, quote);
    }
    for (void (*trim)(char*) : {strip_space, strip_space_quotes}) {
        std::string copy = text;
        trim(copy.data());
    }
    std::u16string wide(text.begin(), text.end());
    strip_space_quotes_wide(reinterpret_cast<WCHAR*>(wide.data()));
    std::string copy = text;
    for (char* token = get_delimited_fields(copy.data(), delimiter); token;
         token = get_delimited_fields(nullptr, delimiter)) {
    }
    return 0;
}
