// jxut lang: translators' tools for language text files. `check` names the
// line of every mistake before the application ever reads the file;
// `compile` and `get` show what a host receives.
#include "command.h"
#include "uitext_tool.h"

#include "jx6ut.h"
#include "uitext/text_lines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace jxut {
namespace {

using namespace jxut::uitext;
using jx::uitext::kMaxTextLength;
using jx::uitext::kMaxTexts;

// By the index the library reports in error_file.
const char* const kLangFiles[] = {"english6.lng", "french6.lng",  "spanish6.lng",
                                  "german6.lng",  "usertrs6.lng", "jx5_lang.lng"};

int run_lang(const Call& call);

const Command kLang = {
    "lang",
    "lang check FILE [--against REFERENCE]\n"
    "lang compile DIR LANG\n"
    "lang get DIR LANG ID...",
    "check a language text file line by line, compile a folder's language, print texts",
    "check prints every mistake as FILE:LINE: MESSAGE, the form editors jump to,\n"
    "and exits 1 when there is any. With --against (the English file) it also\n"
    "names the ids the translation lacks or adds and the texts whose printf\n"
    "conversions (%s, %d, %.2f, ...) differ in number, order or type.\n"
    "compile builds DIR/jx5_lang.lng for LANG when the text file is newer; get\n"
    "prints the texts with these ids, as the application receives them.\n"
    "LANG is english, french, spanish, german, user, or 0 to 4.",
    {{"--against", "REFERENCE", "the file a translation is compared with (check)"}},
    "jxut lang check samples/uitext/french6.lng --against samples/uitext/english6.lng\n"
    "jxut lang compile samples/uitext german\n"
    "jxut lang get samples/uitext french 0 101 404",
    run_lang,
};

struct TextLine {
    std::string text;
    int line;
};

struct LangFile {
    bool has_texts = false; // the first two lines let the texts be read
    int count = -1;         // -1: no usable count
    std::map<int, TextLine> texts;
    int last_line = 0;
};

std::string count_problem(const char* text, long& count) {
    char* end = nullptr;
    count = std::strtol(text, &end, 10);
    if (end == text) return std::string("the count ") + quoted(text) + " is not a number";
    if (count < 0) return "the count must not be negative";
    if (count > kMaxTexts)
        return "a count of " + std::to_string(count) + " is beyond the " +
               std::to_string(kMaxTexts) + " texts a file may hold";
    return "";
}

// Reads a file as a compilation would, but goes on after each mistake.
bool read_lang_file(const InputFile& input, Report& report, LangFile& file) {
    FILE* in = std::fopen(input.path().c_str(), "r");
    if (!in) return false;
    jx::uitext::LineInfo info;
    char buffer[512];
    const auto next = [&](int& line) {
        info.too_long = false;
        const int id = jx::uitext::read_text_line(in, buffer, sizeof buffer, &info);
        line = info.lines;
        if (info.too_long)
            report.add(line, "line longer than 510 characters: the rest is read as another line");
        return id;
    };
    int line = 0;
    if (next(line) == -1 || std::strncmp(buffer, "JXW60-STR", 9) != 0) {
        report.add(line ? line : 1, line ? "the first line must begin with JXW60-STR (a comma "
                                           "on it puts its text after the comma)"
                                         : "the file is empty; it must begin with JXW60-STR");
        std::fclose(in);
        return true;
    }
    if (next(line) == -1) {
        report.add(line + 1, "the count line is missing");
        std::fclose(in);
        return true;
    }
    file.has_texts = true;
    long count = 0;
    const std::string problem = count_problem(buffer, count);
    if (problem.empty())
        file.count = static_cast<int>(count);
    else
        report.add(line, problem);

    int expected = 0; // the next id to fill
    int previous = -1;
    for (int id; (id = next(line)) != -1;) {
        file.last_line = line;
        if (id == -2) {
            report.add(line, buffer[0] ? "no comma: a text line is ID,TEXT"
                                       : "a comment line between texts; only blank lines and "
                                         "comments after a text may stand there");
            continue;
        }
        if (id < 0) {
            report.add(line, "negative id " + std::to_string(id));
            continue;
        }
        if (id < expected) {
            report.add(line, id == previous ? "id " + std::to_string(id) + " is repeated"
                                            : "id " + std::to_string(id) +
                                                  " is out of order: it comes after id " +
                                                  std::to_string(previous));
            continue;
        }
        if (file.count >= 0 && id >= file.count) {
            report.add(line, "id " + std::to_string(id) + " is at or beyond the count " +
                                 std::to_string(file.count));
            continue;
        }
        if (std::strlen(buffer) > kMaxTextLength)
            report.add(line, "text of " + std::to_string(std::strlen(buffer)) +
                                 " characters; at most 254 fit");
        file.texts[id] = TextLine{buffer, line};
        expected = id + 1;
        previous = id;
    }
    if (file.count > 0 && expected < file.count)
        report.add(file.last_line ? file.last_line : line,
                   "the file ends at id " + std::to_string(expected - 1) + " but the count is " +
                       std::to_string(file.count) + ": give id " + std::to_string(file.count - 1) +
                       " or lower the count");
    std::fclose(in);
    return true;
}

// The printf conversions of a text, each as its length modifier and type
// ("d", "ld", ".f" is "f"): what must agree between languages.
std::vector<std::string> conversions(const std::string& text) {
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        size_t at = i + 1;
        if (at < text.size() && text[at] == '%') {
            i = at;
            continue;
        }
        while (at < text.size() && std::strchr("-+ #0", text[at])) ++at;
        if (at < text.size() && text[at] == '*') {
            found.push_back("*");
            ++at;
        }
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        if (at < text.size() && text[at] == '.') {
            ++at;
            if (at < text.size() && text[at] == '*') {
                found.push_back("*");
                ++at;
            }
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        }
        std::string length;
        while (at < text.size() && std::strchr("hlLqjzt", text[at])) length += text[at++];
        if (at < text.size() && std::strchr("diouxXeEfFgGaAcspn", text[at])) {
            found.push_back(length + text[at]);
            i = at;
        } else {
            found.push_back("?" + text.substr(i, at - i + 1));
            i = at;
        }
    }
    return found;
}

std::string listed(const std::vector<std::string>& items) {
    if (items.empty()) return "none";
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "%" : " %") + item;
    return out;
}

void compare_with(const LangFile& file, const LangFile& reference, const std::string& ref_name,
                  Report& report) {
    for (const auto& [id, ref] : reference.texts) {
        const auto found = file.texts.find(id);
        if (found == file.texts.end()) {
            const auto after = file.texts.upper_bound(id);
            const int line =
                after != file.texts.end() ? after->second.line : std::max(file.last_line, 1);
            report.add(line, "id " + std::to_string(id) + " is missing (" + ref_name + ":" +
                                 std::to_string(ref.line) + ")");
            continue;
        }
        const auto mine = conversions(found->second.text);
        const auto theirs = conversions(ref.text);
        if (mine != theirs)
            report.add(found->second.line, "conversions " + listed(mine) + " differ from " +
                                               listed(theirs) + " in " + ref_name + ":" +
                                               std::to_string(ref.line));
    }
    for (const auto& [id, mine] : file.texts)
        if (reference.texts.count(id) == 0)
            report.add(mine.line, "id " + std::to_string(id) + " is not in " + ref_name);
}

// Checks `path`, against `reference` when it is not empty.
int check(const Call* call, const std::string& path, const std::string& reference) {
    InputFile input;
    InputFile reference_input;
    std::string problem;
    if (!input.open(path, problem, true) ||
        (!reference.empty() && !reference_input.open(reference, problem, true)))
        return call ? call->usage_error(problem) : kFailed;
    Report report(input.shown());
    LangFile file;
    if (!read_lang_file(input, report, file)) {
        err("jxut lang: cannot open %s\n", echo(input.shown()).c_str());
        return kFailed;
    }
    bool clean = true;
    if (!reference.empty()) {
        Report reference_report(reference_input.shown());
        LangFile compared;
        if (!read_lang_file(reference_input, reference_report, compared)) {
            err("jxut lang: cannot open %s\n", echo(reference_input.shown()).c_str());
            return kFailed;
        }
        clean = reference_report.print();
        if (file.has_texts && compared.has_texts)
            compare_with(file, compared, reference_input.shown(), report);
    }
    clean = report.print() && clean;
    return clean ? kOk : kFailed;
}

// Says why a construction failed, naming the file as the host would.
int describe_failure(const jx5LangSystem& texts, const std::string& dir) {
    const std::string file = texts.error_file < 6 ? join(dir, kLangFiles[texts.error_file]) : dir;
    std::string reason = failure_reason(texts.error_code);
    if (texts.error_code == 30)
        reason = texts.error_line == 1 ? "malformed first line (run jxut lang check)"
                 : texts.error_line == 2
                     ? "malformed count line (run jxut lang check)"
                     : "malformed at text " + std::to_string(texts.error_line - 3) +
                           " (run jxut lang check)";
    err("jxut lang: %s: %s\n", file.c_str(), reason.c_str());
    return kFailed;
}

int compile_or_get(const Call& call) {
    const Args& args = call.operands();
    const bool get = args[0] == "get";
    if (args.size() < 3 || (get && args.size() < 4))
        return call.usage_error(get ? "get needs DIR, LANG and ids" : "compile needs DIR and LANG");
    if (!get && args.size() > 3) return call.usage_error("compile takes DIR and LANG");
    if (call.has("--against")) return call.usage_error("--against goes with check");
    const int language = parse_language(args[2]);
    if (language < 0) return call.usage_error("unknown language '" + echo(args[2]) + "'");
    std::vector<int> ids;
    for (size_t i = 3; i < args.size(); ++i) {
        char* end = nullptr;
        const long id = std::strtol(args[i].c_str(), &end, 10);
        if (args[i].empty() || *end || id < -1000000000 || id > 1000000000)
            return call.usage_error("'" + echo(args[i]) + "' is not an id");
        ids.push_back(static_cast<int>(id));
    }
    std::string dir = args[1];
    jx5LangSystem texts(&dir[0], static_cast<unsigned short>(language), true);
    if (texts.error_code != 0) return describe_failure(texts, dir);
    if (!get) {
        out("%s: %s, %lu blocks of 16 texts\n", join(dir, "jx5_lang.lng").c_str(),
            kLanguageNames[language], static_cast<unsigned long>(texts.header.num_blocks));
        return kOk;
    }
    int status = kOk;
    for (int id : ids) {
        const char* text = texts.get_string(id);
        if (!text) {
            err("jxut lang: the block of id %d cannot be read\n", id);
            status = kFailed;
            continue;
        }
        out("%s\n", text);
    }
    return status;
}

int run_lang(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("give check, compile or get");
    if (args[0] == "check") {
        if (args.size() != 2) return call.usage_error("check takes one file");
        return check(&call, args[1], call.value("--against"));
    }
    if (args[0] == "compile" || args[0] == "get") return compile_or_get(call);
    return call.usage_error("unknown operation '" + echo(args[0]) + "'");
}

const Registrar kLangCommand(kLang);

// A few texts in each language, then the checker on a translation with
// typing mistakes.
int demo_lang(const std::string& samples_dir) {
    SampleCopy copy(samples_dir);
    if (!copy.ready()) {
        out("cannot copy %s\n", join(samples_dir, "uitext").c_str());
        return kFailed;
    }
    int status = kOk;
    for (unsigned short language = 0; language < 5; ++language) {
        jx5LangSystem texts(&copy.dir[0], language, true);
        if (texts.error_code != 0) {
            status = describe_failure(texts, copy.dir);
            continue;
        }
        out("%-8s", kLanguageNames[language]);
        for (int id : {0, 11, 404}) out(" | %s", texts.get_string(id));
        out("\n");
    }
    const std::string mistakes = join(join(samples_dir, "uitext"), "mistakes");
    out("jxut lang check %s --against %s:\n", join(mistakes, "usertrs6.lng").c_str(),
        join(mistakes, "english6.lng").c_str());
    expected("a translation with typing mistakes");
    check(nullptr, join(mistakes, "usertrs6.lng"), join(mistakes, "english6.lng"));
    return status;
}

const Registrar kLangDemo(DemoStep{30, "Language texts: five languages, one translation checked",
                                   demo_lang});

} // namespace
} // namespace jxut
