// A whole text import over an arbitrary data file and definition file: the
// first bytes choose the options, the rest is the file.
#include "jx6ut.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    jx_set_message_box_handler([](void*, HWND, const char*, const char*, UINT) { return IDOK; },
                               nullptr);
    // Files of this run only, so parallel fuzzing jobs keep apart.
    static const std::string prefix =
        (std::filesystem::temp_directory_path() /
         ("jx6ut-fuzz-" + std::to_string(std::random_device{}()) + "-"))
            .string();
    const std::string data_file = prefix + "data.txt", definition = prefix + "import.def";
    const uint8_t* options = data;
    const size_t definition_size = options[7] % 64 < size - 8 ? options[7] % 64 : 0;
    const auto bytes = reinterpret_cast<const char*>(data) + 8;
    std::ofstream(definition, std::ios::binary).write(bytes, definition_size);
    std::ofstream(data_file, std::ios::binary)
        .write(bytes + definition_size, size - 8 - definition_size);

    Error_Handler record;
    try {
        txtimport_format format(&record, data_file.c_str(), options[0] % 8, 1, options[1] & 1);
        if (format.lines.count < 1) return 0;
        format.fixed_width = options[1] & 2;
        format.use_quotes = options[1] & 4;
        format.merge_delimiters = options[1] & 8;
        format.delimiter_type = options[2] % 6;
        format.other_delimiter = static_cast<char>(options[3]);
        format.first_line = options[4] % 12 - 1;
        if (options[1] & 16) format.load_definition_file(definition.c_str());
        format.set_delimiter();
        format.read_disp_lines();
        format.set_col_widths();
        format.set_col_fields();
        format.init_header_list();
        for (int c = 0; c < format.num_col_fields; ++c) format.col_fields[c] = (c + options[5]) % 4;
        for (int k = 0; k < format.num_header_items; ++k) format.set_header_item(k, "name");
        format.reset_delim_columns();
        format.set_fixed_column(options[6]);
        format.set_col_fields();
        format.check_duplicates();
        if (format.init_import()) {
            int index = 0;
            while (format.set_line_buffer(index))
                for (int n = -1; n <= format.num_columns; ++n) format.get_field(n);
        }
        format.save_definition_file(definition.c_str()); // over the one loaded
    } catch (Error_Handler*) {
    }
    for (const std::string& file : {data_file, definition}) std::remove(file.c_str());
    return 0;
}
