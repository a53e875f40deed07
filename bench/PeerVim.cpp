#include "PeerVim.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "BenchRegistry.h"

namespace zentabo::bench {

std::string FindVim() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::string candidate = (dir.empty() ? "." : dir) + "/vim";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::string VimVersion(const std::string& vim) {
    std::string command = "'" + vim + "' --version 2>/dev/null";
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return "vim";
    char line[256] = {};
    if (!std::fgets(line, sizeof line, p)) line[0] = '\0';
    pclose(p);
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s.empty() ? "vim" : s;
}

PeerRun RunVim(const std::string& vim, const std::string& file,
               const std::vector<std::string>& commands) {
    std::vector<std::string> args = {vim,  "-u", "NONE", "-i",    "NONE",
                                     "-N", "-n", "-es",  "--cmd", "set encoding=cp932"};
    for (const std::string& c : commands) {
        args.push_back("-c");
        args.push_back(c);
    }
    args.push_back(file);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    PeerRun run;
    long long start = NowNs();
    pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        // Ex mode reads commands from stdin: give it nothing, and let it print nowhere.
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.ms = MillisecondsSince(start);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMb = usage.ru_maxrss / 1024.0;
    return run;
}

}  // namespace zentabo::bench
