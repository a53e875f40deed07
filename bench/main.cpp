// zentabo-bench: runs each case in a child process so that its peak memory is its own,
// and prints one JSON object per case.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchRegistry.h"

namespace zentabo::bench {

std::vector<BenchCase>& Registry() {
    static std::vector<BenchCase> cases;
    return cases;
}

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double MillisecondsSince(long long startNs) {
    return (NowNs() - startNs) / 1e6;
}

double Percentile(std::vector<double> samples, int percent) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1,
                            samples.size() * static_cast<size_t>(percent) / 100)];
}

std::string ScratchDir() {
    static std::string dir = [] {
        auto base =
            std::filesystem::temp_directory_path() / ("zentabo-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(base);
        return base.string();
    }();
    return dir;
}

ChildOutcome RunInChild(const std::function<void(int fd)>& body) {
    ChildOutcome outcome;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return outcome;
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        body(pipeFds[1]);
        close(pipeFds[1]);
        _exit(0);
    }
    close(pipeFds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buf, sizeof buf)) > 0) outcome.output.append(buf, n);
    close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !outcome.output.empty();
    outcome.peakMb = usage.ru_maxrss / 1024.0;  // ru_maxrss is in KiB on Linux
    return outcome;
}

}  // namespace zentabo::bench

namespace {

using namespace zentabo::bench;

std::string JsonEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// Runs the case in this (child) process and writes its JSON line to fd.
void RunCaseInChild(const BenchCase& c, int fd) {
    long long start = NowNs();
    CaseResult r = c.run();
    double ms = r.ms >= 0 ? r.ms : MillisecondsSince(start);
    std::string line = "\"case\":\"" + JsonEscape(c.name) +
                       "\",\"bytes\":" + std::to_string(r.bytes) + ",\"ms\":" + std::to_string(ms);
    for (auto& [key, value] : r.extra)
        line += ",\"" + JsonEscape(key) + "\":" + std::to_string(value);
    if (write(fd, line.data(), line.size()) < 0) _exit(3);
    std::error_code ec;
    std::filesystem::remove_all(ScratchDir(), ec);
}

bool RunCase(const BenchCase& c) {
    ChildOutcome child = RunInChild([&c](int fd) { RunCaseInChild(c, fd); });
    if (!child.ok) {
        std::printf("{\"case\":\"%s\",\"error\":\"the case failed\"}\n",
                    JsonEscape(c.name).c_str());
        return false;
    }
    std::printf("{%s,\"peak_rss_mb\":%.1f}\n", child.output.c_str(), child.peakMb);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    auto& cases = Registry();
    if (argc > 1 && std::strcmp(argv[1], "--peer") == 0) return RunPeerMode(argc - 2, argv + 2);
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (auto& c : cases) std::printf("%s\n", c.name.c_str());
        return 0;
    }
    bool ok = true;
    if (argc == 1) {
        for (auto& c : cases) ok &= RunCase(c);
        return ok ? 0 : 1;
    }
    for (int i = 1; i < argc; ++i) {
        bool found = false;
        for (auto& c : cases) {
            if (c.name == argv[i]) {
                found = true;
                ok &= RunCase(c);
            }
        }
        if (!found) {
            std::fprintf(stderr, "zentabo-bench: no case named %s (see --list)\n", argv[i]);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
