// Fuzz target lisp_call: one call of one of the AutoLISP functions of the loaded module, with
// an argument chain decoded from the input (DecodeLispCall), on a small drawing that holds the
// entities the handles name (PrepareFixtureDrawing) and with two point files written from the
// input; a host call may be made to fail during the call. After the call: no exception may have
// left the function, no drawing object may be open, the status must be RSRSLT or RSERR, a result
// handed over must be readable, and the drawing must still save and load (CheckDrawingRoundTrip:
// once for the fixture at the start, then after every call that changed the drawing, as its JSON
// text shows). Every input starts from a fresh drawing (StartOver).
#include <memory>
#include <string>

#include "fuzz/check_drawing_round_trip.h"
#include "fuzz/fixture_drawing.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/lisp_call_decoder.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/start_over.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace {

std::unique_ptr<TempFolder> folder;
PointFileNames files;
std::string fixtureText;

// The drawing as JSON text, which tells whether a call changed it; a drawing JSON cannot hold (a
// number that is not finite) gives "", unlike every drawing it can, so it counts as changed.
std::string DrawingText(const kafhost::DrawingSnapshot& drawing) {
    try {
        return kafhost::drawingToJson(drawing);
    } catch (const kafhost::DrawingFileError&) {
        return "";
    }
}

std::string Describe(const kafhost::CallResult& result) {
    std::string text;
    for (const std::wstring& open : result.openObjectsAfterDescriptions) {
        text += " [" + kafhost::wideToUtf8(open) + "]";
    }
    return text;
}

void CheckCall(const std::wstring& function, const kafhost::CallResult& result) {
    const std::string name = kafhost::wideToUtf8(function);
    if (!result.defined) {
        FuzzFailure(name + " is not defined");
    }
    if (result.exceptionEscaped) {
        FuzzFailure(name +
                    ": exception left the function: " + kafhost::wideToUtf8(result.exceptionText));
    }
    if (result.openObjectsAfter != 0 || kafhost::Host::instance().openObjectCount() != 0) {
        FuzzFailure(name + ": objects left open:" + Describe(result));
    }
    if (result.status != RSRSLT && result.status != RSERR) {
        FuzzFailure(name + ": status " + std::to_string(result.status));
    }
    if (!result.resultValid) {
        FuzzFailure(name + ": unreadable result: " + kafhost::wideToUtf8(result.resultError));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kafhost::Host& host = kafhost::Host::instance();
    std::string error;
    if (host.loadedModules().empty() && !host.loadModule(KAF_MODULE_PATH, error)) {
        FuzzFailure("cannot load " KAF_MODULE_PATH ": " + error);
    }
    host.setMessageBoxEcho(false);
    folder = std::make_unique<TempFolder>(ScratchBase());
    files.first = folder->Path("first.csv").wstring();
    files.second = folder->Path("second.csv").wstring();
    files.missing = folder->Path("missing.csv").wstring();
    files.folder = folder->Path("").wstring();
    host.reset();
    PrepareFixtureDrawing(host);
    fixtureText = DrawingText(host.snapshot());
    CheckDrawingRoundTrip(host, *folder);
    StartOver(host);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kafhost::Host& host = kafhost::Host::instance();
    const FixtureDrawing fixture = PrepareFixtureDrawing(host);
    const LispCall call = DecodeLispCall(data, size, fixture, files);
    folder->Write("first.csv", call.firstFile);
    folder->Write("second.csv", call.secondFile);

    if (call.injectFault) {
        host.failCall(call.fault, call.faultOccurrence);
    }
    const kafhost::CallResult result = host.callWithChain(call.function, call.chain.get());
    host.clearFaults();
    CheckCall(call.function, result);
    if (DrawingText(host.snapshot()) != fixtureText) {
        CheckDrawingRoundTrip(host, *folder);
    }
    // What the input made is freed within the run, or libFuzzer suspects a leak every run.
    StartOver(host);
    return 0;
}
