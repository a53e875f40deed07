// Any bytes as a page store: no crash, no hang, no allocation beyond the input's
// size from a length field; the pages read save and load back unchanged. The same
// bytes as a path: stored and read back unchanged. As text: the converter's UTF-8
// and UTF-16 paths agree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/FakePages.h"
#include "app/PageStore.h"
#include "store/Cp932Codec.h"

using zentabo::testing::FakeHost;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FakeHost host;
    // No file times: a bound file never replaces a stored text here.
    zentabo::PageStoreReadResult r = zentabo::LoadPagesFromStream(host, bytes, "", {});
    Check(r.pagesCreated == host.PageCount());
    // Every page record is at least 4 bytes, so damage cannot conjure up pages.
    Check(static_cast<std::size_t>(host.PageCount()) <= size / 4 + 1);

    std::string saved;
    Check(zentabo::SavePagesToStream(host, saved).ok);
    FakeHost back;
    zentabo::PageStoreReadResult again = zentabo::LoadPagesFromStream(back, saved, "", {});
    Check(again.complete && back.PageCount() == host.PageCount());
    for (int i = 0; i < host.PageCount(); ++i) {
        Check(back.At(i).caption == host.At(i).caption);
        Check(back.At(i).fileName == host.At(i).fileName);
        Check(back.At(i).saveMode == host.At(i).saveMode);
        // A page with the save mode off stores no text.
        Check(back.At(i).text == (host.At(i).saveMode ? host.At(i).text : std::string()));
    }

    // The same bytes as a bound file's path come back exactly, whatever they are.
    FakeHost bound;
    bound.Add("p", std::string(bytes), false, "");
    std::string withPath;
    Check(zentabo::SavePagesToStream(bound, withPath).ok);
    FakeHost boundBack;
    Check(zentabo::LoadPagesFromStream(boundBack, withPath, "", {}).complete);
    Check(boundBack.PageCount() == 1 && boundBack.At(0).fileName == bytes);

    std::string utf8;
    bool lossless = zentabo::Cp932ToUtf8Lossless(bytes, utf8);
    zentabo::Cp932EncodeResult via16 = zentabo::Utf16ToCp932(zentabo::Cp932ToUtf16(bytes));
    zentabo::Cp932EncodeResult via8 = zentabo::Utf8ToCp932(utf8);
    Check(via8.bytes == via16.bytes && via8.unmappable.size() == via16.unmappable.size());
    Check(lossless == (via16.ok() && via16.bytes == bytes));
    return 0;
}
