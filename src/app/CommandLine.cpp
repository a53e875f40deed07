#include "app/CommandLine.h"

#include <unordered_set>

namespace zentabo {

namespace {

std::string Absolute(const std::string& path, const std::string& cwd) {
    if (path.front() == '/') return path;
    std::string out = cwd;
    if (out.empty() || out.back() != '/') out += '/';
    // "./name" reads better in captions and messages as "name".
    std::string_view rest = path;
    while (rest.size() > 2 && rest.substr(0, 2) == "./") rest.remove_prefix(2);
    out += rest;
    return out;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& cwd) {
    CommandLine r;
    bool help = false;
    bool version = false;
    bool optionsEnd = false;
    std::unordered_set<std::string> seen;
    for (const std::string& arg : args) {
        if (!optionsEnd && arg.size() > 1 && arg.front() == '-') {
            if (arg == "--") {
                optionsEnd = true;
            } else if (arg == "--help" || arg == "-h") {
                help = true;
            } else if (arg == "--version") {
                version = true;
            } else if (r.error.empty()) {
                r.error = "unknown option: " + arg;
            }
            continue;
        }
        if (arg.empty() || (cwd.empty() && arg.front() != '/')) {
            if (r.error.empty())
                r.error = arg.empty() ? "an empty file name"
                                      : "the current folder is gone, so " + arg + " names no file";
            continue;
        }
        std::string path = Absolute(arg, cwd);
        if (seen.insert(path).second) r.files.push_back(std::move(path));
    }
    if (help)
        r.action = CommandLine::Action::Help;
    else if (version)
        r.action = CommandLine::Action::Version;
    else if (!r.error.empty())
        r.action = CommandLine::Action::Error;
    return r;
}

std::string UsageText() {
    return "Usage: zentabo [OPTION]... [FILE]...\n"
           "A text editor for XHTML written by hand, in code page 932 (Shift-JIS).\n"
           "Opens each FILE in a new page. When Zentabo already runs, the files open\n"
           "in that window and this start ends.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "      --         take every later argument as a file name\n";
}

std::string VersionText() {
    return std::string("Zentabo ") + ZENTABO_VERSION + "\n";
}

}  // namespace zentabo
