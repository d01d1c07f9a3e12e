#include "fuzz/load_fuzzed_drawing.h"

#include <algorithm>
#include <memory>

#include "fuzz/check_drawing_round_trip.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/start_over.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"

namespace {

std::unique_ptr<TempFolder> folder;

}  // namespace

void InitializeDrawingFileTarget() {
    kafhost::Host::instance().reset();
    folder = std::make_unique<TempFolder>(ScratchBase());
}

void LoadFuzzedDrawing(const std::uint8_t* data, std::size_t size, const std::string& name,
                       const DrawingFileLoader& load) {
    kafhost::Host& host = kafhost::Host::instance();
    const std::string path = folder
                                 ->Write(name, std::string(reinterpret_cast<const char*>(data),
                                                           std::min(size, kMaxDrawingFileBytes)))
                                 .string();
    kafhost::DrawingSnapshot drawing;
    try {
        drawing = load(path);
    } catch (const kafhost::DrawingFileError&) {
        return;
    }
    std::wstring refused;
    if (host.loadSnapshot(drawing, refused)) {
        CheckDrawingRoundTrip(host, *folder);
        if (host.openObjectCount() != 0) {
            FuzzFailure("objects left open");
        }
    }
    // The drawing is freed within the run, or libFuzzer suspects a leak every run.
    StartOver(host);
}
