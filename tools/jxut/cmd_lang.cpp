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

const char* const kLangFiles[] = {"english6.lng", "french6.lng", "spanish6.lng", "german6.lng",
                                  "usertrs6.lng"};

int run_lang(const Args& args);

const Command kLang = {
    "lang",
    "lang check FILE [--against REFERENCE] | lang compile DIR LANG | lang get DIR LANG ID...",
    "check a language text file line by line, compile a folder's language, print texts by id",
    run_lang};

const char kLangHelp[] =
    "usage:\n"
    "  jxut lang check FILE [--against REFERENCE]\n"
    "      every mistake as FILE:LINE: MESSAGE; with --against (the English\n"
    "      file), ids the translation lacks or adds and printf conversions\n"
    "      (%s, %d, %.2f, ...) that differ; exit 0 clean, 1 problems\n"
    "  jxut lang compile DIR LANG\n"
    "      compiles DIR's text file for LANG into DIR/jx5_lang.lng when needed\n"
    "  jxut lang get DIR LANG ID...\n"
    "      the texts with these ids, one per line\n"
    "LANG is english, french, spanish, german, user, or 0 to 4.\n"
    "examples:\n"
    "  jxut lang check samples/uitext/french6.lng --against samples/uitext/english6.lng\n"
    "  jxut lang get samples/uitext french 0 101 404\n";

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
bool read_lang_file(const std::string& path, Report& report, LangFile& file) {
    FILE* in = std::fopen(path.c_str(), "r");
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

int check(const Args& args) {
    std::string path;
    std::string against;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--against") {
            if (++i == args.size()) return usage_error(kLang, "--against needs a file");
            against = args[i];
        } else if (path.empty()) {
            path = args[i];
        } else {
            return usage_error(kLang, "check takes one file");
        }
    }
    if (path.empty()) return usage_error(kLang, "check needs a file");
    Report report(path);
    LangFile file;
    if (!read_lang_file(path, report, file)) {
        std::fprintf(stderr, "jxut lang: cannot open %s\n", path.c_str());
        return kFailed;
    }
    bool clean = true;
    if (!against.empty()) {
        Report reference_report(against);
        LangFile reference;
        if (!read_lang_file(against, reference_report, reference)) {
            std::fprintf(stderr, "jxut lang: cannot open %s\n", against.c_str());
            return kFailed;
        }
        clean = reference_report.print();
        if (file.has_texts && reference.has_texts) compare_with(file, reference, against, report);
    }
    clean = report.print() && clean;
    return clean ? kOk : kFailed;
}

// Says why a construction failed, naming the file as the host would.
int describe_failure(const jx5LangSystem& texts, const std::string& dir) {
    const char* names[] = {"english6.lng", "french6.lng",  "spanish6.lng",
                           "german6.lng",  "usertrs6.lng", "jx5_lang.lng"};
    const std::string file = texts.error_file < 6 ? join(dir, names[texts.error_file]) : dir;
    std::string reason = failure_reason(texts.error_code);
    if (texts.error_code == 30)
        reason = texts.error_line == 1 ? "malformed first line (run jxut lang check)"
                 : texts.error_line == 2
                     ? "malformed count line (run jxut lang check)"
                     : "malformed at text " + std::to_string(texts.error_line - 3) +
                           " (run jxut lang check)";
    std::fprintf(stderr, "jxut lang: %s: %s\n", file.c_str(), reason.c_str());
    return kFailed;
}

int compile_or_get(const Args& args) {
    const bool get = args[0] == "get";
    if (args.size() < 3 || (get && args.size() < 4))
        return usage_error(kLang,
                           get ? "get needs DIR, LANG and ids" : "compile needs DIR and LANG");
    if (!get && args.size() > 3) return usage_error(kLang, "compile takes DIR and LANG");
    const int language = parse_language(args[2]);
    if (language < 0) return usage_error(kLang, "unknown language '" + args[2] + "'");
    std::vector<int> ids;
    for (size_t i = 3; i < args.size(); ++i) {
        char* end = nullptr;
        const long id = std::strtol(args[i].c_str(), &end, 10);
        if (args[i].empty() || *end || id < -1000000000 || id > 1000000000)
            return usage_error(kLang, "'" + args[i] + "' is not an id");
        ids.push_back(static_cast<int>(id));
    }
    std::string dir = args[1];
    jx5LangSystem texts(&dir[0], static_cast<unsigned short>(language), true);
    if (texts.error_code != 0) return describe_failure(texts, dir);
    if (!get) {
        std::printf("%s: %s, %lu blocks of 16 texts\n", join(dir, "jx5_lang.lng").c_str(),
                    kLanguageNames[language], static_cast<unsigned long>(texts.header.num_blocks));
        return kOk;
    }
    int status = kOk;
    for (int id : ids) {
        const char* text = texts.get_string(id);
        if (!text) {
            std::fprintf(stderr, "jxut lang: the block of id %d cannot be read\n", id);
            status = kFailed;
            continue;
        }
        std::printf("%s\n", to_utf8(text).c_str());
    }
    return status;
}

int run_lang(const Args& args) {
    if (args.empty()) return usage_error(kLang, "give check, compile or get");
    if (args[0] == "--help" || args[0] == "-h") {
        std::printf("%s", kLangHelp);
        return kOk;
    }
    if (args[0] == "check") return check(args);
    if (args[0] == "compile" || args[0] == "get") return compile_or_get(args);
    return usage_error(kLang, "unknown subcommand '" + args[0] + "'");
}

const Registrar kLangCommand(kLang);

// A few texts in each language, then the checker on a translation with
// typing mistakes.
int demo_lang(const std::string& samples_dir) {
    SampleCopy copy(samples_dir);
    if (!copy.ready()) {
        std::printf("cannot copy %s\n", join(samples_dir, "uitext").c_str());
        return kFailed;
    }
    int status = kOk;
    for (unsigned short language = 0; language < 5; ++language) {
        jx5LangSystem texts(&copy.dir[0], language, true);
        if (texts.error_code != 0) {
            status = describe_failure(texts, copy.dir);
            continue;
        }
        std::printf("%-8s", kLanguageNames[language]);
        for (int id : {0, 11, 404}) std::printf(" | %s", to_utf8(texts.get_string(id)).c_str());
        std::printf("\n");
    }
    const std::string mistakes = join(join(samples_dir, "uitext"), "mistakes");
    std::printf("jxut lang check %s --against %s:\n", join(mistakes, "usertrs6.lng").c_str(),
                join(mistakes, "english6.lng").c_str());
    std::fflush(stdout);
    check({"check", join(mistakes, "usertrs6.lng"), "--against", join(mistakes, "english6.lng")});
    return status;
}

const Registrar kLangDemo(DemoStep{30, "Language texts: five languages, one translation checked",
                                   demo_lang});

} // namespace
} // namespace jxut
