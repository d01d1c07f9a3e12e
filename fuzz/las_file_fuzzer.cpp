// Fuzz target las_file: the input as a LAS file read by LasReader. Byte 0 picks the choices
// (bit 0: only classes 2 and 9, bit 1: no withheld points, bit 2: no noise); the rest, at most
// kMaxFileBytes, is the file. Open either refuses with a reason or promises the header's point
// count; then exactly that many records must be read, each coordinate finite and each record
// kept exactly when KeepsLasPoint says so.
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "input/las_reader.h"

namespace {

constexpr std::size_t kMaxFileBytes = 65536;

LasChoices ChoicesFrom(std::uint8_t byte) {
    LasChoices choices;
    choices.onlyClasses = (byte & 1) != 0;
    choices.classes.set(2);
    choices.classes.set(9);
    choices.skipWithheld = (byte & 2) != 0;
    choices.skipNoise = (byte & 4) != 0;
    return choices;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const LasChoices choices = ChoicesFrom(input.Byte());
    const std::string bytes = input.Bytes(kMaxFileBytes);
    std::istringstream stream(bytes);
    LasReader reader(stream, bytes.size());
    const std::string refusal = reader.Open();
    if (!refusal.empty()) {
        return 0;
    }
    std::uint64_t count = 0;
    LasPoint point;
    bool kept = false;
    while (reader.Next(choices, point, kept)) {
        ++count;
        if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
            FuzzFailure("a coordinate is not finite");
        }
        if (kept != KeepsLasPoint(choices, point)) {
            FuzzFailure("a record kept against the choices");
        }
    }
    if (reader.Failed() || count != reader.Header().pointCount) {
        FuzzFailure("read " + std::to_string(count) + " of " +
                    std::to_string(reader.Header().pointCount) + " promised points");
    }
    return 0;
}
