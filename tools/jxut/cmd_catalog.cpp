// jxut catalog: the message catalog's texts by number, for translators and
// support engineers; and the demo step of the library frame.
#include "command.h"

#include "jx6ut.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace jxut {
namespace {

// String-table ids are 16 bits wide, so this covers every possible entry.
constexpr long kLastPossibleId = 0xFFFF;
// Longer than any catalog text.
constexpr int kTextBuffer = 1024;

// Reads a decimal id; false for anything that is not one. Numbers beyond the
// range of an int are kept as "too large", which no entry has.
bool parse_id(const std::string& arg, long& id) {
    if (arg.empty()) return false;
    for (char c : arg)
        if (c < '0' || c > '9') return false;
    id = arg.size() > 9 ? kLastPossibleId + 1 : std::strtol(arg.c_str(), nullptr, 10);
    return true;
}

// The text of an id, or false when the catalog has none.
bool catalog_text(long id, std::string& text) {
    if (id > kLastPossibleId) return false;
    char buffer[kTextBuffer];
    if (get_error_string(static_cast<int>(id), buffer, sizeof buffer) <= 0) return false;
    text = buffer;
    return true;
}

// "\r\n" inside a text is a line break; shown as one on the terminal.
std::string as_lines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// In the listing each entry stays on one line, so line breaks and
// backslashes are written as the catalog's source writes them.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

int run_catalog(const Call& call);

const Command kCatalog = {
    "catalog",
    "catalog ID...\ncatalog --all",
    "print catalog texts by id, or every entry as id<TAB>text",
    "A text's line breaks are shown as lines; in the --all listing each entry\n"
    "stays on one line, with \\r, \\n, \\t and \\\\ written out.",
    {{"--all", nullptr, "every entry of the catalog, one a line"}},
    "jxut catalog 106 265\n"
    "jxut catalog --all > catalog.txt",
    run_catalog,
};

int list_all() {
    std::string text;
    for (long id = 0; id <= kLastPossibleId; ++id)
        if (catalog_text(id, text)) out("%ld\t%s\n", id, escaped(text).c_str());
    return kOk;
}

int run_catalog(const Call& call) {
    const Args& args = call.operands();
    if (call.has("--all")) {
        if (!args.empty()) return call.usage_error("--all takes no ids");
        return list_all();
    }
    if (args.empty()) return call.usage_error("give at least one id, or --all");
    // Every argument is checked before anything is printed, so a typing
    // mistake gives the usage and no partial output.
    std::vector<long> ids;
    for (const std::string& arg : args) {
        long id = 0;
        if (!parse_id(arg, id)) return call.usage_error("'" + echo(arg) + "' is not an id");
        ids.push_back(id);
    }
    int status = kOk;
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (catalog_text(ids[i], text)) {
            out("%s\n", as_lines(text).c_str());
        } else {
            status = call.fail("no catalog text has id " + args[i]);
        }
    }
    return status;
}

const Registrar kCatalogCommand(kCatalog);

// The frame's services as a host meets them: texts by number, an error record
// filled by a failed open, and a worksheet log.
int demo_frame(const std::string& samples_dir) {
    std::string text;
    for (int id : {99, 100, 101, 123, 265}) {
        catalog_text(id, text);
        out("catalog %d: %s\n", id, escaped(text).c_str());
    }

    // A host opens its files through jxfileio, which fills the record.
    std::string missing = samples_dir;
    if (!missing.empty() && missing.back() != '/' && missing.back() != '\\') missing += '/';
    missing += "no-such-site.dat";
    Error_Handler record;
    try {
        jxfileio file(&record, missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        out("unexpected: %s exists\n", missing.c_str());
        return kFailed;
    } catch (Error_Handler* failed) {
        failed->set_info_buff("(opening a site file that is not there)");
        expected("a file error for the missing site file");
        const char* message = failed->get_errormsg();
        out("error record (last error %lu):\n%s",
            static_cast<unsigned long>(failed->last_error_code),
            as_lines(message ? message : "").c_str());
    }

    worksheet_status log;
    log.add(168);
    log.add_eirp(324, 55.04, 222.222);
    log.add_eirp(325, 61.26, 12.34);
    out("worksheet log (%lu bytes reserved):\n%s", static_cast<unsigned long>(log.buff_size),
        as_lines(log.buff).c_str());
    return kOk;
}

const Registrar kFrameDemo(DemoStep{10, "Library frame: catalog, error record, worksheet log",
                                    demo_frame});

} // namespace
} // namespace jxut
