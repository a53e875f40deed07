#pragma once

// The program's command line: `zentabo [--help] [--version] [--] [FILE...]`. Paths
// stay the file system's bytes; relative ones are made absolute here, because the
// instance that opens them may run in another folder.

#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::vector<std::string> files;  // absolute, in the order given, each once
    std::string error;               // for Action::Error: what was wrong
};

// args: the arguments after the program name. `cwd` anchors relative paths (empty:
// there is no current folder, and a relative path is an error).
// --help wins over --version, and both over an unknown option, so a start that
// still holds the toolkit's own options (-platform ...) can ask for them early.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& cwd);

std::string UsageText();
std::string VersionText();

}  // namespace zentabo
