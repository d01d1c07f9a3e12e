// Fuzz target lisp_source: kafcad's AutoLISP reader and evaluator on a text from the input, with
// every built-in function of the language and the drawing's (selection sets, entity data and
// changes, the layer table) over the small fixture drawing (PrepareFixtureDrawing); the module
// is not loaded. Files the text opens are opened in a scratch folder, the working directory.
// Evaluation stops after 200,000 steps, so loops end.
// After each form: a value made of numbers, strings and lists reads back from its printed form
// as itself; after the text: no drawing object is open, and a drawing the text changed saves and
// loads again (CheckDrawingRoundTrip). Every input starts from the fixture drawing again.
#include <cmath>
#include <filesystem>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "app/lisp/builtins/library.h"
#include "app/lisp/builtins/standard.h"
#include "app/lisp/command_line_output.h"
#include "app/lisp/error.h"
#include "app/lisp/evaluate.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_forms.h"
#include "app/program/entities/drawing_lisp.h"
#include "fuzz/check_drawing_round_trip.h"
#include "fuzz/fixture_drawing.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/start_over.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"

namespace {

constexpr std::size_t kStepLimit = 200000;

std::unique_ptr<TempFolder> folder;

// Whether the value is made of numbers (not NaN), strings and lists only: such a value must
// read back as itself.
bool IsPlainData(const kafcad::Value& value) {
    switch (value.kind()) {
        case kafcad::Value::Kind::kSymbol:
            return false;
        case kafcad::Value::Kind::kReal:
            return !std::isnan(value.asReal());
        case kafcad::Value::Kind::kList:
            for (const kafcad::Value& item : value.items()) {
                if (!IsPlainData(item)) {
                    return false;
                }
            }
            return true;
        default:
            return true;
    }
}

void CheckReadsBack(const kafcad::Value& value) {
    if (!IsPlainData(value)) {
        return;
    }
    const std::string printed = kafcad::PrintValue(value);
    std::vector<kafcad::Value> read;
    try {
        read = kafcad::ReadForms(printed);
    } catch (const std::exception& error) {
        FuzzFailure("printed value does not read: " + printed + ": " + error.what());
    }
    if (read.size() != 1 || read[0] != value) {
        FuzzFailure("printed value reads back as something else: " + printed);
    }
}

// The scratch folder as the working directory for as long as it lasts.
class InScratchFolder {
public:
    InScratchFolder() : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder->Folder());
    }
    ~InScratchFolder() { std::filesystem::current_path(before_); }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    std::filesystem::path before_;
};

std::string DrawingText(const kafhost::DrawingSnapshot& drawing) {
    try {
        return kafhost::drawingToJson(drawing);
    } catch (const kafhost::DrawingFileError&) {
        return "";
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = std::make_unique<TempFolder>(ScratchBase());
    kafhost::Host& host = kafhost::Host::instance();
    host.setMessageBoxEcho(false);
    host.reset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kafhost::Host& host = kafhost::Host::instance();
    PrepareFixtureDrawing(host);
    const std::string fixtureText = DrawingText(host.snapshot());
    std::vector<kafcad::Value> forms;
    try {
        forms = kafcad::ReadForms(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        StartOver(host);
        return 0;
    }
    {
        const InScratchFolder inScratch;
        std::ostringstream written;
        kafcad::CommandLineOutput commandLine(written);
        kafcad::BuiltinLibrary builtins;
        kafcad::DefineStandardFunctions(builtins, commandLine);
        kafcad::DefineDrawingLispFunctions(builtins, host);
        kafcad::Evaluator evaluator({&builtins});
        evaluator.SetStepLimit(kStepLimit);
        for (const kafcad::Value& form : forms) {
            try {
                CheckReadsBack(evaluator.EvaluateInFolder(form, folder->Folder().string()));
            } catch (const kafcad::LispError&) {
                break;
            } catch (const std::bad_alloc&) {
                break;
            }
        }
    }
    if (host.openObjectCount() != 0) {
        FuzzFailure("objects left open after the text");
    }
    if (DrawingText(host.snapshot()) != fixtureText) {
        CheckDrawingRoundTrip(host, *folder);
    }
    StartOver(host);
    return 0;
}
