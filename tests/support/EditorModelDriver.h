#pragma once

// Drives a TLumEdit with a stream of operations chosen by bytes (random or from the
// fuzzer) and checks it against a plain reference string after every step: the text,
// the store's rules, the caret, and that undoing everything gives the start back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentabo {

struct DriverResult {
    bool ok = true;
    std::string failure;  // what went wrong, with the step number
    int steps = 0;
};

// Runs the operations encoded in data, checking after every checkEvery-th step and
// stopping after maxSteps (0: when the data ends). Every check failure stops the run.
DriverResult RunEditorModel(const uint8_t* data, size_t size, int checkEvery = 1, int maxSteps = 0);

}  // namespace zentabo
