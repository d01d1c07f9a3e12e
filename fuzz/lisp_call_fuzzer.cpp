// Fuzz target lisp_call: one call of one of the AutoLISP functions of the loaded module, with
// an argument chain decoded from the input (DecodeLispCall), on a small drawing that holds the
// entities the handles name (PrepareFixtureDrawing) and with two point files written from the
// input; a host call may be made to fail during the call. After the call: no exception may have
// left the function, no drawing object may be open, the status must be RSRSLT or RSERR, a result
// handed over must be readable, and the drawing must still save and load (CheckDrawingRoundTrip:
// once for the fixture at the start, then after every call that changed the drawing). Every input
// starts from a fresh drawing (StartOver).
#include <memory>
#include <string>

#include "fuzz/check_drawing_round_trip.h"
#include "fuzz/fixture_drawing.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/lisp_call_decoder.h"
#include "fuzz/same_drawing.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/start_over.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace {

std::unique_ptr<ScratchFolder> folder;
PointFileNames files;
kafhost::DrawingSnapshot fixtureDrawing;

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
    folder = std::make_unique<ScratchFolder>();
    files.first = folder->WidePath("first.csv");
    files.second = folder->WidePath("second.csv");
    files.missing = folder->WidePath("missing.csv");
    files.folder = folder->WidePath("");
    host.reset();
    PrepareFixtureDrawing(host);
    fixtureDrawing = host.snapshot();
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
    if (!SameDrawing(host.snapshot(), fixtureDrawing)) {
        CheckDrawingRoundTrip(host, *folder);
    }
    // What the input made is freed within the run, or libFuzzer suspects a leak every run.
    StartOver(host);
    return 0;
}
