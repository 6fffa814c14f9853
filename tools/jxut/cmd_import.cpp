// jxut import: a text table read through the library as a host's import
// dialog reads it, for support engineers who need to see what the import
// makes of a customer's file; and the demo step of the text import.
#include "command.h"

#include "jx6ut.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace jxut {
namespace {

// The boxes the library shows while a command runs, kept to be printed as
// the command's error instead of going to the default handler.
struct Box {
    std::string caption;
    std::string text;
};

class BoxCollector {
public:
    BoxCollector() { jx_set_message_box_handler(&BoxCollector::handle, this); }
    ~BoxCollector() { jx_set_message_box_handler(nullptr, nullptr); }
    BoxCollector(const BoxCollector&) = delete;
    BoxCollector& operator=(const BoxCollector&) = delete;

    bool any() const { return !boxes_.empty(); }
    // Prints every box as "caption: text" on one line and forgets them.
    void report(FILE* out, const char* prefix) {
        for (const Box& box : boxes_)
            std::fprintf(out, "%s%s: %s\n", prefix, box.caption.c_str(),
                         one_line(box.text).c_str());
        boxes_.clear();
    }

private:
    static int handle(void* context, HWND, const char* text, const char* caption, UINT style) {
        static_cast<BoxCollector*>(context)->boxes_.push_back({caption, text});
        return (style & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
    }
    static std::string one_line(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '\r') continue;
            out += c == '\n' ? ' ' : c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    std::vector<Box> boxes_;
};

struct Options {
    std::string data_file;
    std::string definition;   // --def
    std::string save;         // --save
    bool have_layout = false; // any of the layout options below
    bool fixed_width = false;
    bool have_delimiter = false;
    std::vector<unsigned> boundaries;
    BYTE delimiter_type = 0;
    char other_delimiter = '\0';
    bool quotes = false;
    bool merge = false;
    int first_line = 1;
    std::vector<int> codes; // --fields
    bool have_type = false;
    int definition_type = 0;
    bool preview = false;
};

int run_import(const Args& args);

const Command kImport = {
    "import",
    "import DATAFILE [--def DEFFILE | --delimiter C --quotes --merge --first-line N "
    "--fixed 0,8,20] [--fields 1,0,2] [--type N] [--save DEFFILE] [--preview]",
    "preview a text table, or print every line's fields separated by tabs", run_import};

bool parse_int(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

bool parse_list(const std::string& text, long low, long high, std::vector<long>& values) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        long value;
        if (!parse_int(text.substr(start, comma - start), low, high, value)) return false;
        values.push_back(value);
        start = comma + 1;
    }
    return !values.empty();
}

// Delimiters by name or as the character itself.
bool parse_delimiter(const std::string& text, Options& o) {
    const struct {
        const char* name;
        BYTE type;
    } names[] = {{",", 0},     {"comma", 0}, {";", 1},  {"semicolon", 1}, {" ", 2},
                 {"blank", 2}, {"space", 2}, {"\t", 3}, {"tab", 3},       {"\\t", 3}};
    for (const auto& n : names) {
        if (text == n.name) {
            o.delimiter_type = n.type;
            return true;
        }
    }
    if (text.size() != 1) return false;
    o.delimiter_type = 4;
    o.other_delimiter = text[0];
    return true;
}

// Reads the options; an empty result means success, anything else is the
// usage message.
std::string parse_options(const Args& args, Options& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        const auto value = [&]() -> const std::string& { return args[++i]; };
        if (a == "--preview") {
            o.preview = true;
        } else if (a == "--quotes") {
            o.quotes = o.have_layout = true;
        } else if (a == "--merge") {
            o.merge = o.have_layout = true;
        } else if (a.rfind("--", 0) == 0 && !has_value) {
            return a + " needs a value";
        } else if (a == "--def") {
            o.definition = value();
        } else if (a == "--save") {
            o.save = value();
        } else if (a == "--delimiter") {
            o.have_layout = o.have_delimiter = true;
            if (!parse_delimiter(value(), o)) return "'" + args[i] + "' is not a delimiter";
        } else if (a == "--first-line") {
            long n;
            if (!parse_int(value(), 1, 0x7FFFFFFF, n)) return "--first-line takes a number from 1";
            o.first_line = static_cast<int>(n);
            o.have_layout = true;
        } else if (a == "--fixed") {
            std::vector<long> starts;
            if (!parse_list(value(), 0, 0x7FFFFFFF, starts))
                return "--fixed takes column starts such as 0,8,20";
            for (size_t k = 1; k < starts.size(); ++k)
                if (starts[k] <= starts[k - 1]) return "--fixed column starts must increase";
            for (long s : starts) o.boundaries.push_back(static_cast<unsigned>(s));
            o.fixed_width = o.have_layout = true;
        } else if (a == "--fields") {
            std::vector<long> codes;
            if (!parse_list(value(), -0x7FFFFFFF, 0x7FFFFFFF, codes))
                return "--fields takes one code a column, such as 1,0,2";
            for (long c : codes) o.codes.push_back(static_cast<int>(c));
        } else if (a == "--type") {
            long n;
            if (!parse_int(value(), -0x7FFFFFFF, 0x7FFFFFFF, n)) return "--type takes a number";
            o.definition_type = static_cast<int>(n);
            o.have_type = true;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a;
        } else if (o.data_file.empty()) {
            o.data_file = a;
        } else {
            return "only one data file";
        }
    }
    if (o.data_file.empty()) return "give a data file";
    if (!o.definition.empty() && o.have_layout)
        return "--def gives the layout; it takes no layout options";
    if (o.fixed_width && o.have_delimiter) return "--fixed and --delimiter exclude each other";
    return {};
}

// The import a definition file belongs to, read from its header, so that
// any definition loads unless --type asks for a particular import.
int definition_type_of(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    unsigned char header[40] = {};
    const size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got < sizeof header) return 0;
    return static_cast<int>(header[36] | header[37] << 8 | header[38] << 16 |
                            static_cast<unsigned>(header[39]) << 24);
}

std::string delimiter_name(const txtimport_format& f) {
    switch (f.delimiter) {
    case ' ':
        return "blank";
    case '\t':
        return "tab";
    default:
        return std::string("'") + f.delimiter + "'";
    }
}

void print_preview(const txtimport_format& f) {
    std::printf("file: %s (%d lines, longest %u characters)\n", f.data_file, f.lines.count,
                f.lines.get_maxstrlen());
    if (f.fixed_width) {
        std::printf("layout: fixed width, first line %d\n", f.first_line);
    } else {
        std::printf("layout: delimited by %s%s%s, first line %d\n", delimiter_name(f).c_str(),
                    f.use_quotes ? ", quotes" : "", f.merge_delimiters ? ", merged" : "",
                    f.first_line);
    }
    std::printf("columns: %d\n%s:", f.num_columns, f.fixed_width ? "boundaries" : "grid");
    for (int c = 0; f.col_positions && c <= f.num_columns; ++c)
        std::printf(" %d", f.col_positions[c]);
    std::printf("\n");
    if (f.col_fields) {
        std::printf("fields:");
        for (int c = 0; c < f.num_col_fields; ++c) std::printf(" %d", f.col_fields[c]);
        std::printf("\n");
    }
    // "  |" marks the line before the first to import (the titles), "> |" the
    // lines that are imported; only the first few are shown.
    const int shown = f.num_disp_lines < 10 ? f.num_disp_lines : 10;
    for (int i = 0; i < shown; ++i)
        std::printf("%s| %s\n", i >= f.first_disp_data_line ? "> " : "  ", f.disp_lines[i]);
    if (f.num_disp_lines > shown) std::printf("  ... %d display lines\n", f.num_disp_lines);
}

int import_lines(txtimport_format& f) {
    if (!f.init_import()) return kOk;
    int index = 0;
    std::string row;
    while (f.set_line_buffer(index)) {
        row.clear();
        for (int c = 0; c < f.num_columns; ++c) {
            if (c) row += '\t';
            if (const char* field = f.get_field(c)) row += field;
        }
        row += '\n';
        std::fwrite(row.data(), 1, row.size(), stdout);
    }
    return kOk;
}

int run_import(const Args& args) {
    Options o;
    const std::string problem = parse_options(args, o);
    if (!problem.empty()) return usage_error(kImport, problem);
    if (!o.have_type && !o.definition.empty()) o.definition_type = definition_type_of(o.definition);

    BoxCollector boxes;
    Error_Handler record;
    std::unique_ptr<txtimport_format> f;
    try {
        f = std::make_unique<txtimport_format>(&record, o.data_file.c_str(), 0, o.definition_type,
                                               true);
    } catch (Error_Handler* failed) {
        const char* message = failed->get_errormsg();
        std::fprintf(stderr, "%s", message ? message : "jxut import: the file cannot be read\n");
        return kFailed;
    }
    if (f->lines.count == 0) {
        std::fprintf(stderr, "jxut import: %s holds no lines\n", o.data_file.c_str());
        return kOk;
    }

    if (!o.definition.empty()) {
        f->load_definition_file(o.definition.c_str());
        if (boxes.any()) {
            boxes.report(stderr, "jxut import: ");
            return kFailed;
        }
    } else {
        f->fixed_width = o.fixed_width;
        f->delimiter_type = o.delimiter_type;
        f->other_delimiter = o.other_delimiter;
        f->use_quotes = o.quotes;
        f->merge_delimiters = o.merge;
        f->first_line = o.first_line;
    }
    f->set_delimiter();
    f->read_disp_lines();
    // Laying out fixed-width columns starts them over, so the boundaries of
    // a fixed-width definition are kept by not laying out again.
    if (o.definition.empty() || !f->fixed_width) f->set_col_widths();
    // The layout starts as one column from 0; the given starts are added,
    // and 0 goes when it is not among them.
    const bool from_zero = !o.boundaries.empty() && o.boundaries.front() == 0;
    for (unsigned start : o.boundaries) {
        if (start == 0) continue;
        if (!f->set_fixed_column(start)) {
            std::fprintf(stderr,
                         "jxut import: a column cannot start at %u: the preview is %lu "
                         "characters wide\n",
                         start, static_cast<unsigned long>(f->disp_width));
            return kFailed;
        }
    }
    if (!o.boundaries.empty() && !from_zero) f->set_fixed_column(0);
    f->set_col_fields();

    if (!o.codes.empty()) {
        if (static_cast<int>(o.codes.size()) != f->num_col_fields) {
            std::fprintf(stderr, "jxut import: --fields gives %zu codes for %d columns\n",
                         o.codes.size(), f->num_col_fields);
            return kFailed;
        }
        for (int c = 0; c < f->num_col_fields; ++c) f->col_fields[c] = o.codes[c];
    }
    const bool assigned = std::any_of(f->col_fields, f->col_fields + f->num_col_fields,
                                      [](int code) { return code != 0; });
    if (assigned && !f->check_duplicates()) {
        boxes.report(stderr, "jxut import: ");
        return kFailed;
    }
    if (!o.save.empty()) {
        f->save_definition_file(o.save.c_str());
        if (boxes.any()) {
            boxes.report(stderr, "jxut import: ");
            return kFailed;
        }
    }
    if (o.preview) {
        print_preview(*f);
        return kOk;
    }
    return import_lines(*f);
}

const Registrar kImportCommand(kImport);

// ---------------------------------------------------------------------------
// The demo: the shipped site tables imported as the application's site
// import does it, in kind mode, with a definition file for each.

const char* const kSiteKinds[] = {"Site name",     "Latitude",       "Longitude",
                                  "Ground height", "Antenna height", "Frequency"};
constexpr int kSiteKindCount = 6;
constexpr int kSiteImport = 1; // the definition type of the site import

int demo_table(const std::string& data, const std::string& definition) {
    BoxCollector boxes;
    Error_Handler record;
    std::unique_ptr<txtimport_format> f;
    try {
        f = std::make_unique<txtimport_format>(&record, data.c_str(), kSiteKindCount, kSiteImport,
                                               false);
    } catch (Error_Handler* failed) {
        const char* message = failed->get_errormsg();
        std::printf("%s", message ? message : "cannot read the table\n");
        return kFailed;
    }
    for (int k = 0; k < kSiteKindCount; ++k) f->set_header_item(k, kSiteKinds[k]);
    f->load_definition_file(definition.c_str());
    if (boxes.any()) {
        boxes.report(stdout, "  ");
        return kFailed;
    }
    f->set_delimiter();
    f->read_disp_lines();
    if (!f->fixed_width) f->set_col_widths();
    f->set_col_fields();
    f->reset_delim_columns();
    std::printf("-- %s with %s\n", data.c_str(), definition.c_str());
    print_preview(*f);
    if (!f->check_duplicates()) {
        boxes.report(stdout, "  ");
        return kFailed;
    }

    int index = 0;
    f->init_import();
    while (f->set_line_buffer(index)) {
        std::printf("  line %d:", index + 1);
        for (int k = 0; k < kSiteKindCount; ++k) {
            const char* field = f->get_field(k);
            std::printf(" %s=%s%s", kSiteKinds[k], field ? field : "(none)",
                        k + 1 < kSiteKindCount ? ";" : "\n");
        }
    }

    // The dialog refuses a kind given to two columns.
    const int saved = f->col_fields[5];
    f->col_fields[5] = f->col_fields[3];
    const bool refused = !f->check_duplicates();
    std::printf("  the frequency column made a second ground height: %s\n",
                refused ? "refused" : "accepted (unexpected)");
    boxes.report(stdout, "    ");
    f->col_fields[5] = saved;
    return refused ? kOk : kFailed;
}

int demo_import(const std::string& samples_dir) {
    const std::string folder = samples_dir + "/import/";
    int status = kOk;
    if (demo_table(folder + "sites.csv", folder + "sites.def") != kOk) status = kFailed;
    if (demo_table(folder + "sites.txt", folder + "sites_fixed.def") != kOk) status = kFailed;
    return status;
}

const Registrar kImportDemo(DemoStep{40, "Text import: site tables, delimited and fixed width",
                                     demo_import});

} // namespace
} // namespace jxut
