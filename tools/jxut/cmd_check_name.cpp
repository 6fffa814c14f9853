// jxut check-name: typed file names checked and repaired as the application
// does before saving; and the demo's name check.
#include "command.h"

#include "jx6ut.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace jxut {
namespace {

int run_check_name(const Call& call);

const Command kCheckName = {
    "check-name",
    "check-name PATH...",
    "check typed file names and show them repaired",
    "Each PATH gets one line: the check's result and the name after it.\n"
    "  0 valid      nothing illegal (blanks and quotes around it are trimmed)\n"
    "  1 too long   259 characters at most; the name is left as it was\n"
    "  2 emptied    the repaired name is empty\n"
    "  3 repaired   each of \" * / : < > ? \\ | in the name, and * / : < > ? |\n"
    "               in its folders (but a drive's colon), became _\n"
    "Exit status 1 when any name was not valid as given.",
    {},
    "jxut check-name 'C:\\links\\north\\net?.dat' 'C:\\links\\ok.dat'\n"
    "jxut check-name 'plan <draft>.dat'",
    run_check_name,
};

const char* const kMeaning[] = {"valid", "too long", "emptied", "repaired"};

// The too-long message is in the result line; the box is not shown.
int quiet_box(void*, HWND, const char*, const char*, UINT) {
    return IDOK;
}

// The result of the check and the name after it.
int check(const std::string& name, std::string& after) {
    std::vector<char> path(std::max<size_t>(name.size() + 1, MAX_PATH), '\0');
    std::memcpy(path.data(), name.data(), name.size());
    jx_set_message_box_handler(quiet_box, nullptr);
    const int result = validate_file_name(nullptr, path.data(), static_cast<unsigned>(path.size()));
    jx_set_message_box_handler(nullptr, nullptr);
    after = path.data();
    return result;
}

void print_result(const std::string& name, int result, const std::string& after) {
    const char* meaning = result >= 0 && result <= 3 ? kMeaning[result] : "?";
    if (result == 1)
        out("%d %s\t%lu characters: %s\n", result, meaning, static_cast<unsigned long>(name.size()),
            after.c_str());
    else
        out("%d %s\t%s\n", result, meaning, after.c_str());
}

int run_check_name(const Call& call) {
    const Args& names = call.operands();
    if (names.empty()) return call.usage_error("give at least one path");
    int status = kOk;
    for (const std::string& name : names) {
        std::string after;
        const int result = check(name, after);
        print_result(name, result, after);
        if (result != 0) status = kFailed;
    }
    return status;
}

int demo_names(const std::string&) {
    const std::string names[] = {
        "C:\\links\\north\\net.dat",
        " \"C:\\links\\north\\net.dat\" ",
        "C:\\links\\north\\net?<2>.dat",
        "C:\\links|old\\net.dat",
        "C:\\links\\" + std::string(260, 'n') + ".dat",
    };
    for (const std::string& name : names) {
        std::string after;
        const int result = check(name, after);
        out("%s\n  -> ", echo(name).c_str());
        print_result(name, result, echo(after));
    }
    return kOk;
}

const Registrar kCheckNameCommand(kCheckName);
const Registrar kCheckNameDemo(DemoStep{27, "File-name checks", demo_names});

} // namespace
} // namespace jxut
