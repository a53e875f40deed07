#pragma once

// How much more memory this process may take before the system kills it or refuses
// it: what the machine has free, less what the process limits still allow.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zentabo {

// The MemAvailable line of /proc/meminfo, in bytes; nullopt when it is missing.
std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo);

// The smallest of the machine's available memory, the room left under the address
// space and data limits and the control group's limit; nullopt when none can be told.
std::optional<std::uint64_t> AvailableMemoryBytes();

}  // namespace zentabo
