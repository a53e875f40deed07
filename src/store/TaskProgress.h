#pragma once

// How a long task over a whole text (a load, a save) tells how far it got and learns
// that the user wants it stopped.

#include <functional>
#include <stdexcept>

namespace zentabo {

// fraction: 0 to 1 of the whole task. False: stop, leaving everything as before.
using TaskProgress = std::function<bool(double fraction)>;

// Thrown out of a task whose progress said stop.
struct TaskCancelled : std::runtime_error {
    TaskCancelled() : std::runtime_error("cancelled") {}
};

// Calls progress (when there is one) and throws TaskCancelled when it says stop.
inline void ReportProgress(const TaskProgress& progress, double fraction) {
    if (progress && !progress(fraction)) throw TaskCancelled();
}

}  // namespace zentabo
