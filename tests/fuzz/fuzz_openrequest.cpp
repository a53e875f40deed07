// Any bytes as the message from a second start: no crash, and what decodes to a
// list of files encodes back to exactly those bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/OpenRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zentabo::OpenRequestDecode d = zentabo::DecodeOpenRequest(bytes);
    if (d.status == zentabo::OpenRequestDecode::Status::Complete) {
        for (const auto& f : d.files) {
            if (f.empty() || f.front() != '/') std::abort();
        }
        if (zentabo::EncodeOpenRequest(d.files) != bytes) std::abort();
    }
    return 0;
}
