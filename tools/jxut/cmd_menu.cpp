// jxut menu: translators' tools for menu texts. `check` names the line of
// every mistake in the menu text and the identifier header; `show` prints a
// menu as the host receives it, built by the library and read back through
// the same calls a host uses.
#include "command.h"
#include "uitext_tool.h"

#include "jx6ut.h"
#include "uitext/text_lines.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace jxut {
namespace {

using namespace jxut::uitext;
using jx::uitext::LineInfo;

const char* const kMenuFiles[] = {"english6.mnu", "french6.mnu",  "spanish6.mnu", "german6.mnu",
                                  "usertrs6.mnu", "jx5mndes.mnu", "mnudefs5.r.h"};
constexpr size_t kWorkArea = 8192;

int run_menu(const Call& call);

const Command kMenu = {
    "menu",
    "menu check DIR LANG\n"
    "menu compile DIR LANG [--stamp N]\n"
    "menu show DIR LANG [ENTRY...] [--stamp N]",
    "check a menu text and its identifier header, compile them, show a menu",
    "check prints every mistake of DIR's menu text for LANG and of\n"
    "DIR/mnudefs5.r.h as FILE:LINE: MESSAGE and exits 1 when there is any.\n"
    "compile builds DIR/jx5mndes.mnu when a source is newer or the stamp differs.\n"
    "show prints the menu made of these top-level entries (all by default) as\n"
    "the application receives it: an indented tree with shortcuts and command\n"
    "numbers. LANG is english, french, spanish, german, user, or 0 to 4.",
    {{"--stamp", "N", "the application's menu stamp (default 0)"}},
    "jxut menu check samples/uitext german\n"
    "jxut menu show samples/uitext french 0 3",
    run_menu,
};

struct Definition {
    unsigned short value;
    int line;
};

// Reads the identifier header, reporting every line that is not a
// definition; false when it cannot be opened.
bool read_definitions(const std::string& path, Report& report,
                      std::map<std::string, Definition>& definitions) {
    FILE* in = std::fopen(path.c_str(), "r");
    if (!in) return false;
    LineInfo info;
    char name[80];
    unsigned short value = 0;
    for (;;) {
        info.too_long = false;
        const jx::uitext::HeaderLine kind = jx::uitext::read_header_line(in, name, value, &info);
        if (info.too_long)
            report.add(info.lines, "line longer than 78 characters: the rest is read as another "
                                   "line");
        if (kind == jx::uitext::kHeaderEnd) break;
        if (kind == jx::uitext::kHeaderNotDefinition)
            report.add(info.lines, "not a definition: lines here are #define NAME NUMBER, "
                                   "comments, blank lines and the include guard");
        else
            definitions.emplace(name, Definition{value, info.lines}); // the first one counts
    }
    std::fclose(in);
    return true;
}

struct OpenPopup {
    int remaining;
    int line;
    std::string text;
};

class MenuChecker {
public:
    MenuChecker(Report& report, const std::map<std::string, Definition>& definitions,
                const std::string& header_name)
        : report_(report), definitions_(definitions), header_name_(header_name) {}

    // Reads the lines after the first.
    void check(FILE* in) {
        info_.lines = 1;
        char buffer[128];
        for (;;) {
            unsigned length = 0;
            unsigned short number = 0;
            const char* name = nullptr;
            info_.too_long = false;
            const jx::uitext::MenuLine kind =
                jx::uitext::read_menu_line(in, buffer, sizeof buffer, length, number, name, &info_);
            const int line = info_.lines;
            if (info_.too_long)
                report_.add(line, "line longer than 126 characters: the rest is read as "
                                  "another line");
            if (kind != jx::uitext::kMenuEnd) text_characters(line, buffer, length);
            if (open_.empty()) {
                end_entry();
                if (kind == jx::uitext::kMenuEnd) return;
                top_level(kind, line, buffer, length, number, name);
            } else if (!child(kind, line, buffer, length, number, name)) {
                end_entry();
                return;
            }
        }
    }

private:
    void top_level(int kind, int line, const char* text, unsigned length, unsigned short number,
                   const char* name) {
        if (kind == jx::uitext::kMenuSeparator) return;
        if (kind == jx::uitext::kMenuPlain) {
            report_.add(line, "a top-level line needs a bar: TEXT|COUNT or TEXT|IDENTIFIER");
            return;
        }
        entry_line_ = line;
        item(kind, line, text, length, number, name);
    }

    // False at the end of the file.
    bool child(int kind, int line, const char* text, unsigned length, unsigned short number,
               const char* name) {
        const bool last = --open_.back().remaining == 0;
        const OpenPopup parent = open_.back();
        if (last) open_.pop_back();
        const std::string of_popup =
            "popup " + quoted(parent.text) + " (line " + std::to_string(parent.line) + ")";
        switch (kind) {
        case jx::uitext::kMenuEnd:
            report_.add(parent.line, "popup " + quoted(parent.text) +
                                         " announces more children "
                                         "than the file holds: " +
                                         std::to_string(parent.remaining + 1) + " missing");
            open_.clear();
            return false;
        case jx::uitext::kMenuPlain:
            report_.add(line, last ? "a line without a bar stands where the last child of " +
                                         of_popup + " is expected"
                                   : "a line without a bar counts as a child of " + of_popup +
                                         " but shows nothing");
            return true;
        case jx::uitext::kMenuSeparator:
            bytes_ += 6;
            return true;
        default:
            item(kind, line, text, length, number, name);
            return true;
        }
    }

    void item(int kind, int line, const char* text, unsigned length, unsigned short number,
              const char* name) {
        if (kind == jx::uitext::kMenuPopup) {
            bytes_ += 2 + 2 * (length + 1);
            if (number == 0)
                report_.add(line, "popup " + quoted(text) + " has no children");
            else
                open_.push_back(OpenPopup{number, line, text});
            return;
        }
        bytes_ += 4 + 2 * (length + 1);
        const std::string identifier = name ? name : "";
        const auto found = definitions_.find(identifier);
        if (identifier.empty())
            report_.add(line, "no identifier after the bar");
        else if (identifier[0] == ' ' || identifier[0] == '\t')
            report_.add(line, "a blank stands between the bar and " + identifier.substr(1));
        else if (found == definitions_.end())
            report_.add(line, identifier + " is not defined in " + header_name_);
        else if (found->second.value == 0)
            report_.add(line, identifier + " has the value 0 (" + header_name_ + ":" +
                                  std::to_string(found->second.line) +
                                  "), which stands for no command");
    }

    void end_entry() {
        if (bytes_ > kWorkArea)
            report_.add(entry_line_,
                        "this entry takes " + std::to_string(bytes_) + " bytes; at most 8192 fit");
        bytes_ = 0;
    }

    // Menus take each byte as a character code: the Windows-1252 signs at
    // 0x80 to 0x9F (euro, quotes, dashes, ...) do not come through.
    void text_characters(int line, const char* text, unsigned length) {
        for (unsigned i = 0; i < length; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (c >= 0x80 && c < 0xA0) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", c);
                report_.add(line, "character " + std::string(1, text[i]) + " (" + hex +
                                      ") shows as '?' in a menu");
                return;
            }
        }
    }

    Report& report_;
    const std::map<std::string, Definition>& definitions_;
    std::string header_name_;
    std::vector<OpenPopup> open_;
    LineInfo info_;
    size_t bytes_ = 0;
    int entry_line_ = 0;
};

int check(const std::string& dir, int language) {
    const std::string header_path = join(dir, kMenuFiles[6]);
    const std::string menu_path = join(dir, kMenuFiles[language]);
    Report header_report(header_path);
    std::map<std::string, Definition> definitions;
    if (!read_definitions(header_path, header_report, definitions)) {
        err("jxut menu: cannot open %s\n", header_path.c_str());
        return kFailed;
    }
    FILE* in = std::fopen(menu_path.c_str(), "r");
    if (!in) {
        err("jxut menu: cannot open %s\n", menu_path.c_str());
        return kFailed;
    }
    Report report(menu_path);
    char first[128] = {};
    if (!std::fgets(first, sizeof first, in) || std::strncmp(first, "JXW60-MNU", 9) != 0)
        report.add(1, "the first line must begin with JXW60-MNU");
    else
        MenuChecker(report, definitions, kMenuFiles[6]).check(in);
    std::fclose(in);
    const bool header_clean = header_report.print();
    return report.print() && header_clean ? kOk : kFailed;
}

int describe_failure(const jx5MenuSystem& menus, const std::string& dir) {
    const std::string file = menus.error_file < 7 ? join(dir, kMenuFiles[menus.error_file]) : dir;
    const std::string reason = menus.error_code == 30 ? "malformed (run jxut menu check)"
                                                      : failure_reason(menus.error_code);
    err("jxut menu: %s: %s\n", file.c_str(), reason.c_str());
    return kFailed;
}

void print_menu(HMENU menu, int depth) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        const std::string indent(static_cast<size_t>(depth) * 2, ' ');
        const HMENU sub = GetSubMenu(menu, i);
        if (!sub && (state & MF_SEPARATOR)) {
            out("%s----\n", indent.c_str());
            continue;
        }
        std::string label = text;
        std::string shortcut;
        const size_t tab = label.find('\t');
        if (tab != std::string::npos) {
            shortcut = label.substr(tab + 1);
            label.erase(tab);
        }
        if (sub) {
            out("%s%s >\n", indent.c_str(), label.c_str());
            print_menu(sub, depth + 1);
            continue;
        }
        // Columns are counted in ANSI characters, one byte each.
        std::string line = indent + label;
        line += std::string(line.size() < 40 ? 40 - line.size() : 1, ' ') + shortcut;
        line += std::string(line.size() < 54 ? 54 - line.size() : 1, ' ');
        out("%s%u\n", line.c_str(), GetMenuItemID(menu, i));
    }
}

bool parse_number(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && !*end;
}

// `operands` are DIR, LANG and for show the entries.
int compile_or_show(const Call* call, bool show, const Args& operands, long stamp) {
    const auto usage = [call](const std::string& message) {
        return call ? call->usage_error(message) : kUsage;
    };
    if (operands.size() < 2) return usage("give DIR and LANG");
    if (!show && operands.size() > 2) return usage("compile takes DIR and LANG");
    const int language = parse_language(operands[1]);
    if (language < 0) return usage("unknown language '" + echo(operands[1]) + "'");
    std::vector<unsigned long> entries;
    for (size_t i = 2; i < operands.size(); ++i) {
        long entry = 0;
        if (!parse_number(operands[i], entry) || entry < 0)
            return usage("'" + echo(operands[i]) + "' is not an entry number");
        entries.push_back(static_cast<unsigned long>(entry));
    }
    std::string dir = operands[0];
    jx5MenuSystem menus(&dir[0], language, static_cast<int>(stamp), 0);
    if (menus.error_code != 0) return describe_failure(menus, dir);
    const unsigned long count = menus.header.num_entries;
    if (!show) {
        out("%s: %s, %lu entries, stamp %ld\n", join(dir, kMenuFiles[5]).c_str(),
            kLanguageNames[language], count, stamp);
        return kOk;
    }
    if (entries.empty())
        for (unsigned long e = 0; e < count; ++e) entries.push_back(e);
    for (unsigned long entry : entries)
        if (entry >= count) {
            err("jxut menu: entry %lu does not exist: the menu has %lu (0 to %lu)\n", entry, count,
                count ? count - 1 : 0);
            return kFailed;
        }
    HMENU menu = menus.get_hmenu(static_cast<unsigned long>(entries.size()), entries.data());
    if (!menu) {
        err("jxut menu: the compiled file is damaged; delete %s to rebuild it\n",
            join(dir, kMenuFiles[5]).c_str());
        return kFailed;
    }
    print_menu(menu, 0);
    DestroyMenu(menu);
    return kOk;
}

int run_menu(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("give check, compile or show");
    long stamp = 0;
    if (call.has("--stamp") && !parse_number(call.value("--stamp"), stamp))
        return call.usage_error("--stamp needs a number");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "check") {
        if (rest.size() != 2) return call.usage_error("check needs DIR and LANG");
        const int language = parse_language(rest[1]);
        if (language < 0) return call.usage_error("unknown language '" + echo(rest[1]) + "'");
        return check(rest[0], language);
    }
    if (args[0] == "compile" || args[0] == "show")
        return compile_or_show(&call, args[0] == "show", rest, stamp);
    return call.usage_error("unknown operation '" + echo(args[0]) + "'");
}

const Registrar kMenuCommand(kMenu);

// Two menus as a host builds them, in English and French, then the checker
// on a menu text with mistakes.
int demo_menu(const std::string& samples_dir) {
    SampleCopy copy(samples_dir);
    if (!copy.ready()) {
        out("cannot copy %s\n", join(samples_dir, "uitext").c_str());
        return kFailed;
    }
    int status = kOk;
    for (const char* language : {"english", "french"}) {
        out("menu of entries 3 and 4 (%s):\n", language);
        if (compile_or_show(nullptr, true, {copy.dir, language, "3", "4"}, 0) != kOk)
            status = kFailed;
    }
    const std::string mistakes = join(join(samples_dir, "uitext"), "mistakes");
    out("jxut menu check %s user:\n", mistakes.c_str());
    expected("a menu text and a header with mistakes");
    check(mistakes, 4);
    return status;
}

const Registrar kMenuDemo(DemoStep{
    32, "Menus: assembled from compiled entries, a menu text checked", demo_menu});

} // namespace
} // namespace jxut
