// Ten million random editing operations (typing, deleting, pasting, undo, redo, box and
// stream selections, word wrap on and off, drags) against a plain reference string.
// They run as a thousand sessions of 10,000 operations each, so that the driver's
// record of every text a session has shown stays small; each session is checked
// against its reference every 10,000 operations and undone to its start at its end.
// A mismatch names the session's seed and ends the case with a failure.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "BenchRegistry.h"
#include "support/EditorModelDriver.h"

namespace zentabo::bench {
namespace {

constexpr int kSessions = 1000;
constexpr int kStepsPerSession = 10000;
// Each step reads a few bytes of its input; this leaves plenty so no session ends early.
constexpr std::size_t kBytesPerStep = 48;

RegisterCase session("random-session-10m", [] {
    CaseResult r;
    long long steps = 0;
    long long start = NowNs();
    std::vector<uint8_t> bytes(kStepsPerSession * kBytesPerStep);
    for (unsigned seed = 1; seed <= kSessions; ++seed) {
        std::mt19937 rng(seed);
        for (auto& b : bytes) b = static_cast<uint8_t>(rng());
        DriverResult d =
            RunEditorModel(bytes.data(), bytes.size(), kStepsPerSession, kStepsPerSession);
        if (!d.ok) {
            std::fprintf(stderr, "random-session-10m: seed %u: %s\n", seed, d.failure.c_str());
            std::exit(1);
        }
        steps += d.steps;
    }
    r.ms = MillisecondsSince(start);
    r.extra.push_back({"operations", static_cast<double>(steps)});
    r.extra.push_back({"operations_per_s", steps / (r.ms / 1000.0)});
    return r;
});

}  // namespace
}  // namespace zentabo::bench
