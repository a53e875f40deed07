#include "platform/MemoryLimits.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace zentabo {

namespace {

std::string ReadSmallFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::optional<std::uint64_t> LeadingNumber(std::string_view s) {
    s.remove_prefix(std::min(s.find_first_not_of(" \t"), s.size()));
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end == s.data()) return std::nullopt;
    return value;
}

void KeepSmaller(std::optional<std::uint64_t>& least, std::optional<std::uint64_t> value) {
    if (value && (!least || *value < *least)) least = value;
}

// Room left under a resource limit, given what the process uses of it now.
std::optional<std::uint64_t> RoomUnder(int resource, std::uint64_t used) {
    rlimit lim{};
    if (::getrlimit(resource, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY) return std::nullopt;
    const std::uint64_t limit = lim.rlim_cur;
    return limit > used ? limit - used : 0;
}

// Total and data sizes of the process, from /proc/self/statm, in bytes.
void ProcessSizes(std::uint64_t& total, std::uint64_t& data) {
    std::istringstream in(ReadSmallFile("/proc/self/statm"));
    std::uint64_t size = 0, resident = 0, shared = 0, text = 0, lib = 0, dataPages = 0;
    in >> size >> resident >> shared >> text >> lib >> dataPages;
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    total = size * page;
    data = dataPages * page;
}

std::optional<std::uint64_t> ControlGroupRoom() {
    const std::string max = ReadSmallFile("/sys/fs/cgroup/memory.max");
    const std::optional<std::uint64_t> limit = LeadingNumber(max);  // "max": no limit
    if (!limit) return std::nullopt;
    const std::uint64_t used =
        LeadingNumber(ReadSmallFile("/sys/fs/cgroup/memory.current")).value_or(0);
    return *limit > used ? *limit - used : 0;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo) {
    constexpr std::string_view kKey = "MemAvailable:";
    std::size_t at = meminfo.find(kKey);
    while (at != std::string_view::npos && at > 0 && meminfo[at - 1] != '\n')
        at = meminfo.find(kKey, at + 1);
    if (at == std::string_view::npos) return std::nullopt;
    const std::optional<std::uint64_t> kib = LeadingNumber(meminfo.substr(at + kKey.size()));
    if (!kib) return std::nullopt;
    return *kib * 1024;
}

std::optional<std::uint64_t> AvailableMemoryBytes() {
    std::optional<std::uint64_t> least = ParseMemAvailable(ReadSmallFile("/proc/meminfo"));
    std::uint64_t total = 0, data = 0;
    ProcessSizes(total, data);
    KeepSmaller(least, RoomUnder(RLIMIT_AS, total));
    KeepSmaller(least, RoomUnder(RLIMIT_DATA, data));
    KeepSmaller(least, ControlGroupRoom());
    return least;
}

}  // namespace zentabo
