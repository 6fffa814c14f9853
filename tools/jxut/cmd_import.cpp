// jxut import: a text table read through the library as a host's import
// dialog reads it, for support engineers who need to see what the import
// makes of a customer's file; and the demo step of the text import.
#include "command.h"

#include "jx6ut.h"
#include "platform/console/console.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
    // Prints every box as "caption: text" on one line (through out or
    // err) and forgets them.
    void report(void (*print)(const char*, ...), const char* prefix) {
        for (const Box& box : boxes_)
            print("%s%s: %s\n", prefix, box.caption.c_str(), one_line(box.text).c_str());
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
    std::string definition;   // --def
    std::string save;         // --save-def
    bool have_layout = false; // any of the layout options
    bool fixed_width = false;
    bool have_delimiter = false;
    std::vector<unsigned> boundaries;
    BYTE delimiter_type = 0;
    char other_delimiter = '\0';
    int first_line = 1;
    std::vector<int> codes; // --fields
    bool have_type = false;
    int definition_type = 0;
    std::string format = "tsv";
};

int run_import(const Call& call);

const Command kImport = {
    "import",
    "import DATAFILE [--def DEFFILE] [--preview] [--format tsv|csv|json]\n"
    "import DATAFILE [--delimiter C] [--quotes] [--merge] [--first-line N] [--fixed 0,8,20]\n"
    "            [--fields 1,0,2] [--type N] [--save-def DEFFILE [--force]]",
    "read a text table as the application's import does",
    "Prints every line's fields, or with --preview what the import makes of the\n"
    "table. A DATAFILE of - reads standard input. A file that starts with a\n"
    "UTF-8 byte-order mark is read as UTF-8, the mark skipped.\n\n"
    "--fields gives one code a column: 0 leaves the column out, any other number\n"
    "from 1 to 32767 is the definition the column is imported as (the host's\n"
    "own numbers); two columns cannot share a code.\n\n"
    "Output formats: tsv (tabs between fields; tab, line ends and backslash\n"
    "written \\t, \\r, \\n, \\\\), csv (fields with a comma, quote or line end\n"
    "quoted, quotes doubled), json (one array of strings a line, null for a\n"
    "field the line does not have).",
    {
        {"--def", "DEFFILE", "the layout from a definition file"},
        {"--delimiter", "C", "comma, semicolon, blank, tab or any one character"},
        {"--quotes", nullptr, "double quotes hide delimiters"},
        {"--merge", nullptr, "a run of delimiters separates two fields only"},
        {"--first-line", "N", "the first line to import (the lines before are titles)"},
        {"--fixed", "STARTS", "fixed-width columns starting at these characters"},
        {"--fields", "CODES", "what each column is imported as, e.g. 1,0,2"},
        {"--type", "N", "the import a definition file must belong to"},
        {"--save-def", "DEFFILE", "write the layout as a definition file"},
        {"--save", "DEFFILE", nullptr, "--save-def"},
        {"--force", nullptr, "let --save-def replace an existing file"},
        {"--preview", nullptr, "the columns, the grid and the first lines, explained"},
        {"--format", "F", "tsv (the default), csv or json"},
    },
    "jxut import sites.csv --delimiter , --quotes --first-line 2\n"
    "jxut import sites.csv --def sites.def --preview\n"
    "jxut import sites.txt --fixed 0,28,38 --format csv\n"
    "cat sites.csv | jxut import - --delimiter , --quotes --format json",
    run_import,
};

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
std::string parse_options(const Call& call, Options& o) {
    if (call.operands().empty()) return "give a data file";
    if (call.operands().size() > 1) return "only one data file";
    o.definition = call.value("--def");
    o.save = call.value("--save-def");
    o.have_layout = call.has("--quotes") || call.has("--merge");
    if (call.has("--delimiter")) {
        o.have_layout = o.have_delimiter = true;
        if (!parse_delimiter(call.value("--delimiter"), o))
            return "'" + echo(call.value("--delimiter")) + "' is not a delimiter";
    }
    if (call.has("--first-line")) {
        long n;
        if (!parse_int(call.value("--first-line"), 1, 0x7FFFFFFF, n))
            return "--first-line takes a number from 1";
        o.first_line = static_cast<int>(n);
        o.have_layout = true;
    }
    if (call.has("--fixed")) {
        std::vector<long> starts;
        if (!parse_list(call.value("--fixed"), 0, 0x7FFFFFFF, starts))
            return "--fixed takes column starts such as 0,8,20";
        for (size_t k = 1; k < starts.size(); ++k)
            if (starts[k] <= starts[k - 1]) return "--fixed column starts must increase";
        for (long s : starts) o.boundaries.push_back(static_cast<unsigned>(s));
        o.fixed_width = o.have_layout = true;
    }
    if (call.has("--fields")) {
        std::vector<long> codes;
        if (!parse_list(call.value("--fields"), 0, 32767, codes))
            return "--fields takes one code from 0 to 32767 a column, such as 1,0,2";
        for (long c : codes) o.codes.push_back(static_cast<int>(c));
    }
    if (call.has("--type")) {
        long n;
        if (!parse_int(call.value("--type"), -0x7FFFFFFF, 0x7FFFFFFF, n))
            return "--type takes a number";
        o.definition_type = static_cast<int>(n);
        o.have_type = true;
    }
    o.format = call.value("--format", "tsv");
    if (o.format != "tsv" && o.format != "csv" && o.format != "json")
        return "--format takes tsv, csv or json";
    if (!o.definition.empty() && o.have_layout)
        return "--def gives the layout; it takes no layout options";
    if (o.fixed_width && o.have_delimiter) return "--fixed and --delimiter exclude each other";
    if (call.has("--force") && o.save.empty()) return "--force goes with --save-def";
    if (call.has("--preview") && call.has("--format")) return "--preview has no --format";
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

void print_preview(const txtimport_format& f, const std::string& shown_name) {
    out("file: %s (%d lines, longest %u characters)\n", shown_name.c_str(), f.lines.count,
        f.lines.get_maxstrlen());
    if (f.fixed_width) {
        out("layout: fixed width, first line %d\n", f.first_line);
    } else {
        out("layout: delimited by %s%s%s, first line %d\n", delimiter_name(f).c_str(),
            f.use_quotes ? ", quotes" : "", f.merge_delimiters ? ", merged" : "", f.first_line);
    }
    out("columns: %d\n%s:", f.num_columns, f.fixed_width ? "boundaries" : "grid");
    for (int c = 0; f.col_positions && c <= f.num_columns; ++c) out(" %d", f.col_positions[c]);
    out("\n");
    if (f.col_fields) {
        out("fields:");
        for (int c = 0; c < f.num_col_fields; ++c) out(" %d", f.col_fields[c]);
        out("\n");
    }
    const int shown = f.num_disp_lines < 10 ? f.num_disp_lines : 10;
    out("%s: the character where each column starts in the lines below, and their end;\n"
        "fields: what each column is imported as (0 not imported);\n"
        "lines: \"  |\" before the first line to import, \"> |\" imported\n",
        f.fixed_width ? "boundaries" : "grid");
    for (int i = 0; i < shown; ++i)
        out("%s| %s\n", i >= f.first_disp_data_line ? "> " : "  ", f.disp_lines[i]);
    if (f.num_disp_lines > shown) out("  ... %d display lines\n", f.num_disp_lines);
}

// One field in the chosen format, appended to the row.
void append_tsv(std::string& row, const char* field) {
    for (const char* p = field; p && *p; ++p) {
        switch (*p) {
        case '\t':
            row += "\\t";
            break;
        case '\n':
            row += "\\n";
            break;
        case '\r':
            row += "\\r";
            break;
        case '\\':
            row += "\\\\";
            break;
        default:
            row += *p;
        }
    }
}

void append_csv(std::string& row, const char* field) {
    if (!field) return;
    if (!std::strpbrk(field, ",\"\r\n")) {
        row += field;
        return;
    }
    row += '"';
    for (const char* p = field; *p; ++p)
        row += *p == '"' ? std::string("\"\"") : std::string(1, *p);
    row += '"';
}

// JSON strings carry every character other than ASCII as \u escapes, so the
// output is the same text whatever the terminal's encoding.
void append_json(std::string& row, const char* field) {
    if (!field) {
        row += "null";
        return;
    }
    const std::string utf8 = jx::console::ansi_to_utf8(field);
    row += '"';
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        char escape[8];
        if (c >= 0x80) {
            // ansi_to_utf8 writes two- and three-byte sequences only.
            const unsigned u = (c & 0xE0) == 0xC0 ? (c & 0x1Fu) << 6 | (utf8[i + 1] & 0x3Fu)
                                                  : (c & 0x0Fu) << 12 | (utf8[i + 1] & 0x3Fu) << 6 |
                                                        (utf8[i + 2] & 0x3Fu);
            i += (c & 0xE0) == 0xC0 ? 2 : 3;
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            row += escape;
            continue;
        }
        ++i;
        if (c == '"' || c == '\\') {
            row += '\\';
            row += static_cast<char>(c);
        } else if (c == '\n') {
            row += "\\n";
        } else if (c == '\r') {
            row += "\\r";
        } else if (c == '\t') {
            row += "\\t";
        } else if (c < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            row += escape;
        } else {
            row += static_cast<char>(c);
        }
    }
    row += '"';
}

int import_lines(txtimport_format& f, const std::string& format) {
    if (!f.init_import()) return kOk;
    const bool json = format == "json";
    const char separator = format == "csv" ? ',' : '\t';
    const auto append = format == "csv" ? append_csv : json ? append_json : append_tsv;
    int index = 0;
    std::string row;
    while (f.set_line_buffer(index)) {
        row = json ? "[" : "";
        for (int c = 0; c < f.num_columns; ++c) {
            if (c) row += json ? ',' : separator;
            append(row, f.get_field(c));
        }
        row += json ? "]\n" : "\n";
        write_out(row);
    }
    return kOk;
}

bool same_file(const std::string& a, const std::string& b) {
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

int run_import(const Call& call) {
    Options o;
    const std::string problem = parse_options(call, o);
    if (!problem.empty()) return call.usage_error(problem);
    InputFile data;
    std::string trouble;
    if (!data.open(call.operands()[0], trouble, true)) return call.fail(trouble);
    if (!o.save.empty()) {
        if (same_file(o.save, data.path()))
            return call.fail("--save-def would overwrite the data file '" + echo(o.save) + "'");
        std::error_code error;
        if (std::filesystem::exists(o.save, error) && !call.has("--force"))
            return call.fail("'" + echo(o.save) + "' exists; --force replaces it");
    }
    if (!o.have_type && !o.definition.empty()) o.definition_type = definition_type_of(o.definition);

    BoxCollector boxes;
    Error_Handler record;
    std::unique_ptr<txtimport_format> f;
    try {
        f = std::make_unique<txtimport_format>(&record, data.path().c_str(), 0, o.definition_type,
                                               true);
    } catch (Error_Handler* failed) {
        const char* message = failed->get_errormsg();
        err("%s", message ? message : "jxut import: the file cannot be read\n");
        return kFailed;
    }
    if (f->lines.count == 0) {
        err("jxut import: %s holds no lines\n", data.shown().c_str());
        return kOk;
    }

    if (!o.definition.empty()) {
        f->load_definition_file(o.definition.c_str());
        if (boxes.any()) {
            boxes.report(err, "jxut import: ");
            return kFailed;
        }
    } else {
        f->fixed_width = o.fixed_width;
        f->delimiter_type = o.delimiter_type;
        f->other_delimiter = o.other_delimiter;
        f->use_quotes = call.has("--quotes");
        f->merge_delimiters = call.has("--merge");
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
        if (!f->set_fixed_column(start))
            return call.fail("a column cannot start at " + std::to_string(start) +
                             ": the preview is " + std::to_string(f->disp_width) +
                             " characters wide");
    }
    if (!o.boundaries.empty() && !from_zero) f->set_fixed_column(0);
    f->set_col_fields();

    if (!o.codes.empty()) {
        if (static_cast<int>(o.codes.size()) != f->num_col_fields)
            return call.fail("--fields gives " + std::to_string(o.codes.size()) + " codes for " +
                             std::to_string(f->num_col_fields) + " columns");
        for (int c = 0; c < f->num_col_fields; ++c) f->col_fields[c] = o.codes[c];
    }
    const bool assigned = std::any_of(f->col_fields, f->col_fields + f->num_col_fields,
                                      [](int code) { return code != 0; });
    if (assigned && !f->check_duplicates()) {
        boxes.report(err, "jxut import: ");
        return kFailed;
    }
    if (!o.save.empty()) {
        f->save_definition_file(o.save.c_str());
        if (boxes.any()) {
            boxes.report(err, "jxut import: ");
            return kFailed;
        }
    }
    if (call.has("--preview")) {
        print_preview(*f, data.shown());
        return kOk;
    }
    return import_lines(*f, o.format);
}

const Registrar kImportCommand(kImport);

// ---------------------------------------------------------------------------
// The demo: the shipped site tables imported as the application's site
// import does it, in kind mode, with a definition file for each.

const char* const kSiteKinds[] = {"Site name",     "Latitude",       "Longitude",
                                  "Ground height", "Antenna height", "Frequency"};
constexpr int kSiteKindCount = 6;
constexpr int kSiteImport = 1; // the definition type of the site import

// The tables are named as in the samples folder, wherever that is.
int demo_table(const std::string& folder, const std::string& data_name,
               const std::string& definition_name) {
    const std::string data = folder + data_name, definition = folder + definition_name;
    BoxCollector boxes;
    Error_Handler record;
    std::unique_ptr<txtimport_format> f;
    try {
        f = std::make_unique<txtimport_format>(&record, data.c_str(), kSiteKindCount, kSiteImport,
                                               false);
    } catch (Error_Handler* failed) {
        const char* message = failed->get_errormsg();
        out("%s", message ? message : "cannot read the table\n");
        return kFailed;
    }
    for (int k = 0; k < kSiteKindCount; ++k) f->set_header_item(k, kSiteKinds[k]);
    f->load_definition_file(definition.c_str());
    if (boxes.any()) {
        boxes.report(out, "  ");
        return kFailed;
    }
    f->set_delimiter();
    f->read_disp_lines();
    if (!f->fixed_width) f->set_col_widths();
    f->set_col_fields();
    f->reset_delim_columns();
    out("-- %s with %s\n", data_name.c_str(), definition_name.c_str());
    print_preview(*f, data_name);
    if (!f->check_duplicates()) {
        boxes.report(out, "  ");
        return kFailed;
    }

    int index = 0;
    f->init_import();
    while (f->set_line_buffer(index)) {
        out("  line %d:", index + 1);
        for (int k = 0; k < kSiteKindCount; ++k) {
            const char* field = f->get_field(k);
            out(" %s=%s%s", kSiteKinds[k], field ? field : "(none)",
                k + 1 < kSiteKindCount ? ";" : "\n");
        }
    }

    // The dialog refuses a kind given to two columns.
    expected("the import refuses a second ground height column");
    const int saved = f->col_fields[5];
    f->col_fields[5] = f->col_fields[3];
    const bool refused = !f->check_duplicates();
    out("  the frequency column made a second ground height: %s\n",
        refused ? "refused" : "accepted (unexpected)");
    boxes.report(out, "    ");
    f->col_fields[5] = saved;
    return refused ? kOk : kFailed;
}

int demo_import(const std::string& samples_dir) {
    const std::string folder = samples_dir + "/";
    int status = kOk;
    if (demo_table(folder, "import/sites.csv", "import/sites.def") != kOk) status = kFailed;
    if (demo_table(folder, "import/sites.txt", "import/sites_fixed.def") != kOk) status = kFailed;
    return status;
}

const Registrar kImportDemo(DemoStep{40, "Text import: site tables, delimited and fixed width",
                                     demo_import});

} // namespace
} // namespace jxut
