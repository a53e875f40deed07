#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zentabo::bench {

// What one case reports besides the time and memory the driver measures itself.
struct CaseResult {
    long long bytes = 0;
    // Extra numeric fields printed into the case's JSON line ("display_lines", "median_us" ...).
    std::vector<std::pair<std::string, double>> extra;
    // Set when the case timed its own inner loop; otherwise the driver's wall time counts.
    double ms = -1;
};

struct BenchCase {
    std::string name;
    std::function<CaseResult()> run;
};

std::vector<BenchCase>& Registry();

struct RegisterCase {
    RegisterCase(std::string name, std::function<CaseResult()> run) {
        Registry().push_back({std::move(name), std::move(run)});
    }
};

// Milliseconds elapsed since start on the steady clock.
double MillisecondsSince(long long startNs);
long long NowNs();
// The value below which `percent` of the samples lie (50: the median); 0 for none.
double Percentile(std::vector<double> samples, int percent);

// Runs body in a forked child, which writes its result to fd; the child's output, whether
// it ended well, and its own peak memory.
struct ChildOutcome {
    bool ok = false;
    std::string output;
    double peakMb = 0;
};
ChildOutcome RunInChild(const std::function<void(int fd)>& body);

// `zentabo-bench --peer vim ...`: our cases against vim on the same file (PeerBench.cpp).
int RunPeerMode(int argc, char** argv);

// A scratch folder for the files the cases write (removed at exit of each case).
std::string ScratchDir();

}  // namespace zentabo::bench
