// The fuzzer's bytes choose edit operations; the driver checks the editor against a
// reference string, the store's rules and undo back to the start.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/EditorModelDriver.cpp"
#include "support/HeadlessHost.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zentabo::DriverResult r = zentabo::RunEditorModel(data, size);
    if (!r.ok) {
        std::fprintf(stderr, "editor model check failed: %s\n", r.failure.c_str());
        std::abort();
    }
    return 0;
}
