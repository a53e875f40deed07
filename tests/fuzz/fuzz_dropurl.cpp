// Reads random bytes as each X11 link format a drag may carry, turns the address into
// code page 932 text and an anchor's opening text, and checks that nothing in the
// attribute can end it or open markup.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/DroppedUrl.h"
#include "commands/TagTexts.h"

namespace {

using namespace zentabo;

void CheckAnchor(const std::u16string& url) {
    const std::string tag = UrlOpeningTag(UrlToCp932(url));
    const std::string_view value(tag.data() + 9, tag.size() - 11);  // inside '<a href="' '">'
    for (char c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '"' || c == '<' || c == '>') {
            std::fprintf(stderr, "fuzz_dropurl: byte %02x inside the href\n", b);
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckAnchor(MozUrlAddress(bytes));
    CheckAnchor(FirstUriListEntry(bytes));
    CheckAnchor(NetscapeUrlAddress(bytes));
    return 0;
}
